cmake_minimum_required(VERSION 3.20)
# The README's examples that change things run on a copy of the bundled
# example site: its feeds are listed, and the files command's script creates,
# copies, edits, renames and deletes feeds of the copy.
#   EXAMPLE  examples/site;  WORK  folder made afresh;  SCRIPT  the UI script
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${EXAMPLE} DESTINATION ${WORK})
set(SITE ${WORK}/site)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)

execute_process(COMMAND ${PROGRAM} --site ${SITE} site feeds
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "\"path\": \"c.rdf\"" OR NOT out MATCHES "\"path\": \"news/a.rss\"")
  message(FATAL_ERROR "site feeds (${status}): ${out}${err}")
endif()
# What site feeds prints is what site links takes, from any folder.
execute_process(COMMAND ${PROGRAM} --site ${SITE} site links news/a.rss WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "\"path\": \"index.html\"" OR NOT out MATCHES "\"path\": \"news/page.html\"")
  message(FATAL_ERROR "site links (${status}): ${out}${err}")
endif()

execute_process(COMMAND ${PROGRAM} --site ${SITE} --ui-script ${SCRIPT} files
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "changed\n")
  message(FATAL_ERROR "files (${status}): ${out}${err}")
endif()
foreach(made made.rss news/copy.rss news/renamed.rss)
  if(NOT EXISTS ${SITE}/${made})
    message(FATAL_ERROR "${made} was not made")
  endif()
endforeach()
file(READ ${SITE}/index.html index)
if(NOT index MATCHES "href=\"news/renamed.rss\"")
  message(FATAL_ERROR "index.html does not follow the renamed feed:\n${index}")
endif()
