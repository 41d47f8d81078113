# The site commands end to end on a site made in SITE: init, rebuild (twice),
# feeds and links, then the one-line refusals of a broken database and of a
# folder that is not a site.
file(REMOVE_RECURSE ${SITE} ${SITE}-plain)
file(MAKE_DIRECTORY ${SITE}/news)
file(WRITE ${SITE}/index.html "<html><head><link rel=alternate href=\"news/feed.dat\"></head>
<body><a href=\"https://ann.example/news/feed.dat\">feed</a><a href=\"news/\">news</a></body></html>")
file(WRITE ${SITE}/news/index.html "<a href=\"feed.dat\">feed</a><a href=\"/index.html\">top</a>")
file(WRITE ${SITE}/news/feed.dat "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>お知らせ</title></channel></rss>")

include(${CMAKE_CURRENT_LIST_DIR}/site_helpers.cmake)

run(0 site init --url https://ann.example/ --name "Ann")
expect_match("${out}" "\"name\": \"Ann\"")
run(1 site init --url https://ann.example/)
expect_match("${err}" "^newsdesk: [^\n]*newsdesk-site.json already exists\n$")
run(0 site rebuild)
expect_match("${out}" "\"feeds\": 1,\n  \"files\": 3,\n  \"gone\": 0,\n  \"pagesParsed\": 2,\n  \"pagesSkipped\": 0,\n  \"read\": 3")
run(0 site rebuild)
expect_match("${out}" "\"pagesParsed\": 0,\n  \"pagesSkipped\": 0,\n  \"read\": 0")
run(0 site feeds)
expect_match("${out}" "^\\[\n  {\n    \"format\": 1,\n    \"path\": \"news/feed.dat\",\n    \"title\": \"お知らせ\"\n  }\n\\]\n$")
run(0 site links ${SITE}/news/feed.dat)
expect_match("${out}" "\"elements\": \\[\n      \"a\",\n      \"link\"\n    \\],\n    \"path\": \"index.html\"")
expect_match("${out}" "\"path\": \"news/index.html\"")
run(1 site links /elsewhere/feed.dat)
expect_match("${err}" "^newsdesk: /elsewhere/feed.dat is not inside the site\n$")

# A file that is not a database is refused, kept, and replaced only by --force.
file(REMOVE ${SITE}/.newsdesk-site.db-wal ${SITE}/.newsdesk-site.db-shm)
file(WRITE ${SITE}/.newsdesk-site.db "this is not a database, it is a note to myself.................")
foreach(command feeds rebuild)
  run(1 site ${command})
  expect_match("${err}" "^newsdesk: site database [^\n]* is not a site database \\(newsdesk site rebuild --force replaces it\\)\n$")
endforeach()
file(READ ${SITE}/.newsdesk-site.db kept)
expect_match("${kept}" "note to myself")
run(0 site rebuild --force)
expect_match("${out}" "\"feeds\": 1")

file(MAKE_DIRECTORY ${SITE}-plain)
execute_process(COMMAND ${PROGRAM} --site ${SITE}-plain site feeds
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "^newsdesk: no site definition [^\n]*newsdesk-site.json\n$")
  message(FATAL_ERROR "not a site: ${status} ${err}")
endif()
file(WRITE ${SITE}-plain/newsdesk-site.json "{\"url\": 3}")
execute_process(COMMAND ${PROGRAM} --site ${SITE}-plain site rebuild
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "^newsdesk: site definition [^\n]*: \"url\" is not a text\n$")
  message(FATAL_ERROR "broken definition: ${status} ${err}")
endif()
