# A delete from the file list whose linking page cannot be written (it is
# read-only): the feed is not deleted, no page changes, and the page in the
# way is said with the reason, exit status 1.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/\"}")
file(WRITE ${SITE}/a.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>A</title><link>https://ann.example/</link><description>d</description></channel></rss>")
file(WRITE ${SITE}/index.html "<a href=\"a.rss\">A</a>")
file(WRITE ${SITE}/other.html "<link rel=alternate href=a.rss>")
file(CHMOD ${SITE}/index.html PERMISSIONS OWNER_READ GROUP_READ)
execute_process(COMMAND ${PROGRAM} --site ${SITE} --ui-script ${SCRIPT} files
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR
   NOT err MATCHES "^newsdesk: [^\n]*/a.rss: not deleted: cannot write [^\n]*/index.html: [^\n]+\n$")
  message(FATAL_ERROR "files (${status}):\n${out}\n${err}")
endif()
file(READ ${SITE}/index.html page)
file(READ ${SITE}/other.html other)
if(NOT EXISTS ${SITE}/a.rss OR NOT page STREQUAL "<a href=\"a.rss\">A</a>"
   OR NOT other STREQUAL "<link rel=alternate href=a.rss>")
  message(FATAL_ERROR "a refused delete changed the site")
endif()
