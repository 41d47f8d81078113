cmake_minimum_required(VERSION 3.20)
# Without a display, a UI script or pictures, the commands that show dialogs
# refuse with one line and status 2 and leave every file as it was, --gui
# or not; `dialog ID --controls` still prints the template, and `newsdesk`
# alone prints its usage.
#   PROGRAM  newsdesk;  WORK  folder made afresh
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/site)
file(WRITE ${WORK}/site/newsdesk-site.json "{\"url\": \"https://ann.example/\"}")
file(WRITE ${WORK}/site/a.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>A</title><link>https://ann.example/</link><description>d</description></channel></rss>\n")
file(WRITE ${WORK}/site/index.html "<!DOCTYPE html>\n<p>Short page</p>\n")
file(SHA256 ${WORK}/site/a.rss feedBefore)
file(SHA256 ${WORK}/site/index.html pageBefore)

set(refusal "shows dialogs: run it on a display, or give --ui-script FILE or --screenshots DIR\n$")
# name | stderr pattern | arguments, separated by commas
set(cases
  "edit|^newsdesk: edit ${refusal}|edit"
  "edit FEED|^newsdesk: edit ${refusal}|edit,${WORK}/site/a.rss"
  "files|^newsdesk: files ${refusal}|--site,${WORK}/site,files"
  "welcome|^newsdesk: welcome ${refusal}|welcome"
  "insert-link|^newsdesk: insert-link ${refusal}|insert-link,${WORK}/site/index.html,--at,2:4"
  "dialog|^newsdesk: dialog ${refusal}|dialog,11902"
  "bare|^usage: newsdesk|"
  "--gui|^newsdesk: edit ${refusal}|--gui,edit"
  "--gui alone|^newsdesk: welcome ${refusal}|--gui")
foreach(case ${cases})
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 pattern)
  list(SUBLIST parts 2 -1 args)
  string(REPLACE "," ";" args "${args}")
  execute_process(COMMAND ${PROGRAM} ${args}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 2 OR NOT err MATCHES "${pattern}" OR NOT out STREQUAL "")
    message(FATAL_ERROR "${name}: status ${status} (expected 2)\nstdout: ${out}\nstderr: ${err}")
  endif()
endforeach()
file(SHA256 ${WORK}/site/a.rss feedAfter)
file(SHA256 ${WORK}/site/index.html pageAfter)
if(NOT feedAfter STREQUAL feedBefore OR NOT pageAfter STREQUAL pageBefore)
  message(FATAL_ERROR "a refused command changed a file")
endif()

execute_process(COMMAND ${PROGRAM} dialog 11900 --controls
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "11900" OR NOT err STREQUAL "")
  message(FATAL_ERROR "dialog 11900 --controls: status ${status}\nstdout: ${out}\nstderr: ${err}")
endif()
