# newsdesk options and newsdesk media end to end, in a fresh folder WORK with
# the configuration folder pinned inside it.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
set(SETTINGS ${WORK}/config/newsdesk/options.json)

function(run expected_status)
  execute_process(COMMAND ${PROGRAM} ${ARGN} WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT "${status}" STREQUAL "${expected_status}")
    message(FATAL_ERROR "newsdesk ${ARGN}: exit status ${status}, expected ${expected_status}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_match text pattern what)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what} does not match '${pattern}':\n${text}")
  endif()
endfunction()

# Defaults without a settings file; a change is kept and read back.
run(0 options)
expect_match("${out}" "^podcast-conversion on\nautodiscovery-site-url off\n$" "defaults")
run(0 options autodiscovery-site-url on)
run(0 options podcast-conversion off)
run(0 options)
expect_match("${out}" "^podcast-conversion off\nautodiscovery-site-url on\n$" "kept options")
run(2 options no-such-option on)
expect_match("${err}" "usage: newsdesk options \\[NAME on\\|off\\]" "unknown option")
run(2 options podcast-conversion maybe)

# A damaged settings file: defaults with one line, and never overwritten.
file(WRITE ${SETTINGS} "{\"options\": {\"podcast-conversion\": ")
run(0 options)
expect_match("${out}" "^podcast-conversion on\nautodiscovery-site-url off\n$" "defaults")
expect_match("${err}" "^newsdesk: [^\n]*options.json: not a settings file[^\n]*left as it is\n$"
             "warning")
run(1 options podcast-conversion off)
expect_match("${err}" "^newsdesk: options not saved: [^\n]*mend or remove it\n$" "refusal")
file(READ ${SETTINGS} kept)
if(NOT kept STREQUAL "{\"options\": {\"podcast-conversion\": ")
  message(FATAL_ERROR "the damaged settings file was changed:\n${kept}")
endif()

# A media file's type and playing time, and its conversion to MP3.
execute_process(COMMAND python3 -c "
import math, struct, wave
w = wave.open('talk.wav', 'wb')
w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
w.writeframes(b''.join(struct.pack('<h', int(3000 * math.sin(i / 10))) for i in range(22050 * 3 + 11025)))
w.close()" WORKING_DIRECTORY ${WORK} RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "could not make talk.wav")
endif()
run(0 media talk.wav)
expect_match("${out}" "^type: audio/x-wav\nduration: 3.500\n$" "media")
run(0 media talk.wav --to-mp3)
expect_match("${out}" "^mp3: [^\n]*/talk.mp3\nduration: 4\n$" "conversion")
run(0 media talk.mp3)
expect_match("${out}" "^type: audio/mpeg\nduration: 3.[56]" "mp3 read back")
file(WRITE ${WORK}/notes.wav "not a sound")
run(1 media notes.wav --to-mp3)
expect_match("${err}" "^newsdesk: notes.wav: not converted: [^\n]*decode\n$" "undecodable")
run(1 media notes.wav)
run(1 media missing.wav)
expect_match("${err}" "^newsdesk: missing.wav: no such file\n$" "missing")
file(GLOB left ${WORK}/*.mp3 ${WORK}/.*.mp3*)
list(LENGTH left count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected only talk.mp3, found: ${left}")
endif()
