# A move, a page's move and a delete from the file list, each killed at every
# step it takes (NEWSDESK_TEST_STOP_AT), then the next command: it finishes or
# undoes the operation and says which, and the site is whole again: the old
# state or the new one byte for byte, no link to a missing file, no journal
# and no temporary file left.
include(${CMAKE_CURRENT_LIST_DIR}/site_helpers.cmake)

set(feed "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>A</title><link>https://ann.example/</link><description>d</description></channel></rss>")
function(make_site)
  file(REMOVE_RECURSE ${SITE})
  file(MAKE_DIRECTORY ${SITE}/news)
  file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/\"}")
  file(WRITE ${SITE}/index.html "<a href=news/feed.rss>feed</a> <a href=news/index.html>news</a>")
  file(WRITE ${SITE}/about.html "<link rel=alternate href=/news/feed.rss>")
  file(WRITE ${SITE}/news/index.html "<a href=feed.rss>feed</a> <a href=../about.html>about</a>")
  file(WRITE ${SITE}/news/feed.rss "${feed}")
  run(0 site rebuild)
endfunction()

function(site_files result)
  file(GLOB_RECURSE files LIST_DIRECTORIES true RELATIVE ${SITE} ${SITE}/*)
  list(FILTER files EXCLUDE REGEX "^(\\.newsdesk-site\\.db(-wal|-shm|\\.lock)?|newsdesk-site.json)$")
  list(SORT files)
  set(${result} "${files}" PARENT_SCOPE)
endfunction()

# Each case: the command, the files (path=bytes) of the site left as it was,
# and of the site once the operation is done.
set(move_args site move news/feed.rss archive/2024/x.rss)
set(move_said "move of news/feed.rss to archive/2024/x.rss")
set(move_after
  "index.html=<a href=\"archive/2024/x.rss\">feed</a> <a href=news/index.html>news</a>"
  "about.html=<link rel=alternate href=\"/archive/2024/x.rss\">"
  "news/index.html=<a href=\"../archive/2024/x.rss\">feed</a> <a href=../about.html>about</a>"
  "archive/2024/x.rss=${feed}")
set(page_args site move news/index.html list.html)
set(page_said "move of news/index.html to list.html")
set(page_after
  "index.html=<a href=news/feed.rss>feed</a> <a href=\"list.html\">news</a>"
  "list.html=<a href=\"news/feed.rss\">feed</a> <a href=\"about.html\">about</a>")
set(delete_args --ui-script ${SCRIPT} files)
set(delete_said "deletion of news/feed.rss")
set(delete_after
  "index.html=feed <a href=news/index.html>news</a>"
  "about.html="
  "news/index.html=feed <a href=../about.html>about</a>")

function(expect_files entries)
  foreach(entry IN LISTS entries)
    string(FIND "${entry}" "=" at)
    string(SUBSTRING "${entry}" 0 ${at} path)
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${entry}" ${at} -1 bytes)
    if(NOT EXISTS ${SITE}/${path})
      set(same FALSE PARENT_SCOPE)
      set(mismatch "${path} is missing" PARENT_SCOPE)
      return()
    endif()
    file(READ ${SITE}/${path} actual)
    if(NOT actual STREQUAL bytes)
      set(same FALSE PARENT_SCOPE)
      set(mismatch "${path}: [${actual}] [${bytes}]" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(same TRUE PARENT_SCOPE)
endfunction()

foreach(case move page delete)
  make_site()
  site_files(files_before)
  set(undone)
  set(done)
  foreach(step RANGE 1 30)
    make_site()
    set(ENV{NEWSDESK_TEST_STOP_AT} ${step})
    execute_process(COMMAND ${PROGRAM} --site ${SITE} ${${case}_args}
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    unset(ENV{NEWSDESK_TEST_STOP_AT})
    if(status EQUAL 0)
      break()  # the operation took fewer steps
    endif()
    if(NOT status MATCHES "killed")
      message(FATAL_ERROR "${case}, step ${step}: exit status ${status}\n${out}\n${err}")
    endif()
    # Every other time the command that comes next is the rebuild.
    math(EXPR odd "${step} % 2")
    if(odd)
      run(0 site rebuild)
    else()
      run(0 site feeds)
    endif()
    expect_match("${err}" "^newsdesk: (completed|rolled back) an interrupted ${${case}_said}\n$")
    set(said "${err}")
    run(0 site check)
    expect_match("${out}" "^\\[\\]\n$")
    if(EXISTS ${SITE}/.newsdesk-site.db.journal)
      message(FATAL_ERROR "${case}, step ${step}: the journal is still there")
    endif()
    site_files(files)
    if(said MATCHES "rolled back")
      list(APPEND undone ${step})
      if(NOT files STREQUAL files_before)
        message(FATAL_ERROR "${case}, step ${step}: undone, yet the files are ${files}")
      endif()
      expect_files("index.html=<a href=news/feed.rss>feed</a> <a href=news/index.html>news</a>;about.html=<link rel=alternate href=/news/feed.rss>;news/index.html=<a href=feed.rss>feed</a> <a href=../about.html>about</a>")
    else()
      list(APPEND done ${step})
      expect_files("${${case}_after}")
      if(files MATCHES "\\.ndsave")
        message(FATAL_ERROR "${case}, step ${step}: temporary files left: ${files}")
      endif()
    endif()
    if(NOT same)
      message(FATAL_ERROR "${case}, step ${step}: pages not as expected: ${files}\n${mismatch}")
    endif()
  endforeach()
  # Both outcomes were met: the operation was stopped before and after its turn.
  if(NOT status EQUAL 0 OR NOT undone OR NOT done)
    message(FATAL_ERROR "${case}: undone at ${undone}, completed at ${done}, last status ${status}")
  endif()
  message(STATUS "${case}: undone after steps ${undone}, completed after steps ${done}")
endforeach()
