# A move that cannot revise every linking page changes nothing and names the
# pages in the way; a command that changes the site waits for another one
# holding the site's lock, then gives up; one that only reads does not wait.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/news)
file(WRITE ${SITE}/index.html "<a href=news/feed.rss>feed</a>")
file(WRITE ${SITE}/news/index.html "<a href=feed.rss>feed</a>")
file(WRITE ${SITE}/about.html "<a href=news/feed.rss>feed</a>")
file(WRITE ${SITE}/news/feed.rss "<rss version=\"2.0\"><channel><title>t</title></channel></rss>")

include(${CMAKE_CURRENT_LIST_DIR}/site_helpers.cmake)

function(expect_unchanged)
  file(READ ${SITE}/news/index.html news)
  file(READ ${SITE}/about.html about)
  if(EXISTS ${SITE}/news/x.rss OR NOT EXISTS ${SITE}/news/feed.rss
     OR NOT news STREQUAL "<a href=feed.rss>feed</a>"
     OR NOT about STREQUAL "<a href=news/feed.rss>feed</a>")
    message(FATAL_ERROR "a refused move changed the site")
  endif()
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SITE} ${SITE}/*)
  list(FILTER files EXCLUDE REGEX "(^|/)(\\.newsdesk-site|newsdesk-site.json)")
  list(LENGTH files count)
  if(NOT count EQUAL 4)
    message(FATAL_ERROR "files left behind: ${files}")
  endif()
endfunction()

run(0 site init --url https://ann.example/)
file(CHMOD ${SITE}/index.html PERMISSIONS OWNER_READ GROUP_READ)
# The preview refuses as the move would, rather than promise what cannot be.
foreach(dry "" --dry-run)
  run(1 site move ${dry} news/feed.rss news/x.rss)
  expect_match("${err}" "^newsdesk: news/feed.rss could not be moved to news/x.rss: cannot write [^\n]*/index.html: [^\n]+\n$")
  expect_unchanged()
endforeach()

file(CHMOD ${SITE}/about.html PERMISSIONS OWNER_READ GROUP_READ)
run(1 site move news/feed.rss news/x.rss)
expect_match("${err}" "^newsdesk: news/feed.rss could not be moved to news/x.rss: 2 pages could not be revised\nnewsdesk:   (about|index).html: cannot write [^\n]*\nnewsdesk:   (about|index).html: cannot write [^\n]*\n$")
expect_unchanged()
file(CHMOD ${SITE}/index.html ${SITE}/about.html PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ)

# flock holds the site's lock while the program runs as another process.
function(run_locked expected_status)
  execute_process(COMMAND flock ${SITE}/.newsdesk-site.db.lock ${PROGRAM} --site ${SITE} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "${ARGN} (locked): exit status ${status}, expected ${expected_status}\n${out}\n${err}")
  endif()
  set(err "${err}" PARENT_SCOPE)
endfunction()

foreach(command "site;move;news/feed.rss;news/x.rss" "site;rebuild" "files")
  run_locked(1 ${command})
  expect_match("${err}" "^newsdesk: the site is busy \\(another newsdesk is changing it\\)\n$")
endforeach()
expect_unchanged()
foreach(command "site;links;news/feed.rss" "site;check" "site;move;--dry-run;news/feed.rss;news/x.rss")
  run_locked(0 ${command})
endforeach()
run(0 site move news/feed.rss news/x.rss)
