cmake_minimum_required(VERSION 3.20)
# The installed program finds its product folder, PREFIX/share/newsdesk, from
# its own place, whatever the current folder: the default icon a new link
# shows is a copy of the installed rss_icon.gif beside the page (which lies in
# no site).
#   BUILD  the build tree;  WORK  folder made afresh
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/installed
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install failed: ${err}")
endif()
foreach(f bin/newsdesk share/newsdesk/rss_icon.gif share/newsdesk/rss_icons/rss_blue.gif
          share/newsdesk/itunescategory.xml lib/libnewsdesk.so)
  if(NOT EXISTS ${WORK}/installed/${f})
    message(FATAL_ERROR "${f} was not installed")
  endif()
endforeach()
file(GLOB in_bin RELATIVE ${WORK}/installed/bin ${WORK}/installed/bin/*)
if(NOT in_bin STREQUAL "newsdesk")
  message(FATAL_ERROR "bin holds more than the program: ${in_bin}")
endif()
file(WRITE ${WORK}/page/index.html "<!DOCTYPE html>\n<p>Feed</p>\n")
file(WRITE ${WORK}/page/a.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>A</title><link>https://ann.example/</link><description>d</description></channel></rss>")
file(WRITE ${WORK}/script.json [[
{"dialogs": [{"template": 11905, "steps": [
  {"type": 32159, "text": "a.rss"}, {"check": 32161, "checked": true}, {"click": 1}]}]}]])
unset(ENV{NEWSDESK_PRODUCT_FOLDER})
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
execute_process(COMMAND ${WORK}/installed/bin/newsdesk --ui-script ${WORK}/script.json
                        insert-link index.html --at 2:5
  WORKING_DIRECTORY ${WORK}/page
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(READ ${WORK}/page/index.html page)
if(NOT status EQUAL 0 OR NOT page MATCHES "<IMG SRC=\"rss_icons/rss_icon.gif\" ID=\"LumDefaultRssIcon\">")
  message(FATAL_ERROR "status ${status}: ${err}\n${page}")
endif()
file(SHA256 ${WORK}/installed/share/newsdesk/rss_icon.gif installed)
file(SHA256 ${WORK}/page/rss_icons/rss_icon.gif copied)
if(NOT installed STREQUAL copied)
  message(FATAL_ERROR "the page's copy of the icon is not the installed one")
endif()
