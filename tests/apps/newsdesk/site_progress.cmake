# On a terminal (made by script(1)) site rebuild draws a progress bar on
# stderr and ends it with its line; through a pipe it draws nothing.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/\"}")
foreach(i RANGE 300)
  file(WRITE ${SITE}/p${i}.html "<a href=\"p${i}.html\">me</a>")
endforeach()
execute_process(COMMAND ${SCRIPT} -qec "${PROGRAM} --site ${SITE} site rebuild --force" /dev/null
  RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "\r\\[#+\\.*\\] [0-9]+% [0-9]+/301.*\\[#+\\] 100% 301/301\r?\n")
  message(FATAL_ERROR "no progress bar on the terminal (${status}):\n${out}")
endif()
execute_process(COMMAND ${PROGRAM} --site ${SITE} site rebuild --force
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "a bar through a pipe (${status}):\n${err}")
endif()
