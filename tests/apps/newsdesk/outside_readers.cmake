# Writes RECORD with PROGRAM into OUT, then has Debian's feed readers check
# that they read what the record held.
file(REMOVE ${OUT})
execute_process(COMMAND ${PROGRAM} write ${RECORD} ${OUT}
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "newsdesk write failed (${status}): ${err}")
endif()
execute_process(COMMAND /usr/bin/python3 ${SCRIPT} ${RECORD} ${OUT}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "outside readers disagree (${status}):\n${out}${err}")
endif()
