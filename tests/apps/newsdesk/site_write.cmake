# Opens a site made in SITE with --site and writes RECORD into it: the feed
# must link to the public URLs of the site's files.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/audio)
file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/news\"}")
file(WRITE ${SITE}/audio/ep1.mp3 "x")
file(WRITE ${SITE}/record.json "{\"format\": 2, \"title\": \"t\", \"image\": \"file://${SITE}/cover.jpg\",
  \"items\": [{\"title\": \"e\", \"enclosureUrl\": \"audio/ep1.mp3\", \"enclosureLength\": 1}]}")
execute_process(COMMAND ${PROGRAM} --site ${SITE} write --allow-incomplete ${SITE}/record.json ${SITE}/feed.xml
  RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "write failed (${status}): ${err}")
endif()
file(READ ${SITE}/feed.xml feed)
foreach(expected "href=\"https://ann.example/news/cover.jpg\""
                 "url=\"https://ann.example/news/audio/ep1.mp3\"")
  string(FIND "${feed}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${expected} not in the feed:\n${feed}")
  endif()
endforeach()
