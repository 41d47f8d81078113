# One feed of the corpus through one command, then lossless_check.py:
#   MODE  rewrite, edit (the channel title changed through the dialogs) or
#         the format to convert to (rss1, rss2, podcast)
#   FEED  the corpus file; WORK a folder made afresh; CHECK the script;
#   UI    the UI script of the edit
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${FEED} NAME)
set(original ${WORK}/original-${name})
set(result ${WORK}/${name})
file(COPY_FILE ${FEED} ${original})
file(COPY_FILE ${FEED} ${result})
if(MODE STREQUAL "rewrite")
  set(args rewrite ${result})
elseif(MODE STREQUAL "edit")
  set(args --ui-script ${UI} edit ${result})
else()
  set(args convert ${result} --to ${MODE})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config ${PROGRAM} ${args}
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "newsdesk ${args} failed (${status}): ${err}")
endif()
file(WRITE ${WORK}/stderr.txt "${err}")
execute_process(COMMAND /usr/bin/python3 ${CHECK} ${original} ${result} ${WORK}/stderr.txt
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${MODE} of ${name} lost something (${status}):\n${out}${err}")
endif()
