# A rename from the file list that the system refuses (a file stands where a
# folder is needed): shown with the reason, printed on stderr, exit status 1,
# and the feed and its linking page stay as they were.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/\"}")
file(WRITE ${SITE}/a.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>A</title><link>https://ann.example/</link><description>d</description></channel></rss>")
file(WRITE ${SITE}/index.html "<a href=\"a.rss\">A</a>")
file(WRITE ${SITE}/blocker "x")
execute_process(COMMAND ${PROGRAM} --site ${SITE} --ui-script ${SCRIPT} files
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT out STREQUAL "unchanged\n" OR
   NOT err MATCHES "^newsdesk: [^\n]*/a.rss: not renamed to [^\n]*/blocker/a.rss: cannot make folder [^\n]*/blocker: [^\n]*/blocker is a file\n$")
  message(FATAL_ERROR "files (${status}):\n${out}\n${err}")
endif()
file(READ ${SITE}/index.html page)
if(NOT EXISTS ${SITE}/a.rss OR NOT page STREQUAL "<a href=\"a.rss\">A</a>")
  message(FATAL_ERROR "a failed rename changed the site")
endif()
