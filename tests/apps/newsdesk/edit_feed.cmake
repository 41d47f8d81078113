cmake_minimum_required(VERSION 3.20)
# Runs `newsdesk --site WORK/site --ui-script SCRIPT edit [FEED]` in a fresh
# site folder and checks the exit status, stderr and the feed written.
#   WORK           folder made afresh for the run
#   SCRIPT         the UI script; @SITE@ in it becomes the site folder
#   FEED           the feed's name in the site ("" for none: a new feed)
#   SEED_RECORD    a record written as the feed first (an existing feed)
#   SEED_TEXT      a text written as the feed first (a file that is no feed)
#   READONLY       ON: the site folder cannot be written (for anyone)
#   READONLY_FILE  ON: the feed file has no write permission
#   EXPECT_STATUS, EXPECT_STDERR (regex), UNCHANGED (ON: the feed keeps its bytes)
#   CHECK          expectations for edit_readback.py; READBACK the script
file(REMOVE_RECURSE ${WORK})
set(SITE ${WORK}/site)
file(MAKE_DIRECTORY ${SITE})
file(WRITE ${SITE}/newsdesk-site.json
     "{\"name\": \"Ann radio\", \"url\": \"https://ann.example/radio/\", \"topPage\": \"index.html\"}\n")
# Three and a half seconds of silence as an 8 kHz mono WAV file.
execute_process(COMMAND /usr/bin/python3 -c
  "import struct,sys; n=28000; open(sys.argv[1],'wb').write(b'RIFF'+struct.pack('<I',36+n)+b'WAVEfmt '+struct.pack('<IHHIIHH',16,1,1,8000,8000,1,8)+b'data'+struct.pack('<I',n)+b'\\x80'*n)"
  ${SITE}/talk.wav)
file(READ ${SCRIPT} script)
string(REPLACE "@SITE@" "${SITE}" script "${script}")
file(WRITE ${WORK}/script.json "${script}")

set(args --site ${SITE} --ui-script ${WORK}/script.json edit)
if(FEED)
  list(APPEND args ${SITE}/${FEED})
endif()
if(SEED_RECORD)
  execute_process(COMMAND ${PROGRAM} write ${SEED_RECORD} ${SITE}/${FEED} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the seed record was not written")
  endif()
endif()
if(SEED_TEXT)
  file(WRITE ${SITE}/${FEED} "${SEED_TEXT}")
endif()
if(FEED AND EXISTS ${SITE}/${FEED})
  file(SHA256 ${SITE}/${FEED} before)
endif()

# The user's options are the defaults (podcast conversion offered).
set(env ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config)
if(READONLY_FILE)
  execute_process(COMMAND chmod a-w ${SITE}/${FEED})
endif()
if(READONLY)
  # Permissions do not bind the superuser; a file size limit of nothing
  # stops every write, whoever runs the tests.
  execute_process(COMMAND chmod a-w ${SITE})
  execute_process(COMMAND ${env} sh -c "trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$@\"" ${PROGRAM} ${args}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  execute_process(COMMAND chmod u+w ${SITE})
else()
  execute_process(COMMAND ${env} ${PROGRAM} ${args}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
endif()

if(READONLY_FILE)
  execute_process(COMMAND chmod u+w ${SITE}/${FEED})
endif()
if(NOT "${status}" STREQUAL "${EXPECT_STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_STATUS}\nstderr: ${err}")
endif()
if(DEFINED EXPECT_STDERR AND NOT err MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "stderr does not match '${EXPECT_STDERR}':\n${err}")
endif()
if(UNCHANGED)
  file(SHA256 ${SITE}/${FEED} after)
  if(NOT before STREQUAL after)
    message(FATAL_ERROR "${FEED} was changed")
  endif()
endif()
file(GLOB left ${SITE}/*)
list(LENGTH left count)
if(NOT FEED AND NOT CHECK AND NOT count EQUAL 2)
  message(FATAL_ERROR "files were left in the site: ${left}")
endif()
if(CHECK)
  execute_process(COMMAND /usr/bin/python3 ${READBACK} ${SITE}/${FEED} ${CHECK}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the feed read back differs:\n${out}${err}")
  endif()
endif()
