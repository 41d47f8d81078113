# For the site scripts: run(STATUS ARGS...) runs the host program on the site
# in SITE and leaves its output in `out` and `err`; expect_match checks a text.
function(run expected_status)
  execute_process(COMMAND ${PROGRAM} --site ${SITE} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "${ARGN}: exit status ${status}, expected ${expected_status}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_match text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "'${pattern}' not in:\n${text}")
  endif()
endfunction()
