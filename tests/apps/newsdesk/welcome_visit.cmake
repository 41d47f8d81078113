cmake_minimum_required(VERSION 3.20)
# Runs `newsdesk --site WORK/site --ui-script SCRIPT welcome` with a feed in
# a fresh site and checks the status and that the feed opened from the
# navigator was saved with the title typed.
#   WORK    folder made afresh for the run
#   SCRIPT  the UI script; @SITE@ in it becomes the site folder
#   RECORD  the record written as site/feed.rss first
#   TITLE   the title the feed must carry afterwards
file(REMOVE_RECURSE ${WORK})
set(SITE ${WORK}/site)
file(MAKE_DIRECTORY ${SITE})
file(WRITE ${SITE}/newsdesk-site.json
     "{\"name\": \"Ann radio\", \"url\": \"https://ann.example/radio/\", \"topPage\": \"index.html\"}\n")
execute_process(COMMAND ${PROGRAM} write ${RECORD} ${SITE}/feed.rss RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the seed record was not written")
endif()
file(READ ${SCRIPT} script)
string(REPLACE "@SITE@" "${SITE}" script "${script}")
file(WRITE ${WORK}/script.json "${script}")

set(env ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config)
execute_process(COMMAND ${env} ${PROGRAM} --site ${SITE} --ui-script ${WORK}/script.json welcome
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}\nstderr: ${err}")
endif()
execute_process(COMMAND ${PROGRAM} read ${SITE}/feed.rss OUTPUT_VARIABLE record RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT record MATCHES "\"title\": \"${TITLE}\"")
  message(FATAL_ERROR "the feed was not saved with the title '${TITLE}':\n${record}")
endif()
