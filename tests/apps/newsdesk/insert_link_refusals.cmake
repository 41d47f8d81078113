cmake_minimum_required(VERSION 3.20)
# What `newsdesk insert-link` refuses before any dialog: each gets one line on
# stderr, a non-zero status, and the file stays as it was.
#   PROGRAM  newsdesk;  WORK  folder made afresh
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(good "<!DOCTYPE html>\n<p>Short page</p>\n")
file(WRITE ${WORK}/good.html "${good}")
file(WRITE ${WORK}/note.html "Only a note, no markup.\n")
file(WRITE ${WORK}/feed.html "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel/></rss>\n")
execute_process(COMMAND /usr/bin/python3 -c "
import sys
d = sys.argv[1]
open(d + '/binary.html', 'wb').write(b'<html>\\x00\\x01\\x02<body>')
open(d + '/undeclared.html', 'wb').write('<html><body>日本語</body></html>'.encode('shift_jis'))
open(d + '/misdeclared.html', 'wb').write('<html><head><meta charset=utf-8></head><body>日本語</body></html>'.encode('shift_jis'))
" ${WORK})
# Places where a link cannot stand: a list's option, a drawing's text, and
# between a table's rows.
file(WRITE ${WORK}/places.html "<!DOCTYPE html>\n<form><select><option>option text</option></select></form>\n<svg><text x=\"0\" y=\"10\">drawn</text></svg>\n<table><tr><td>a</td></tr>\n<tr><td>b</td></tr></table>\n")
file(COPY ${WORK}/good.html DESTINATION ${WORK}/locked)
file(CHMOD ${WORK}/locked/good.html PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)

function(refused status pattern)
  set(files note feed binary undeclared misdeclared good locked/good places)
  foreach(f ${files})
    file(SHA256 ${WORK}/${f}.html sum_${f})
  endforeach()
  execute_process(COMMAND ${PROGRAM} insert-link ${ARGN}
    RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT got EQUAL status OR NOT err MATCHES "^newsdesk: [^\n]*${pattern}[^\n]*\n$")
    message(FATAL_ERROR "${ARGN}: status ${got} (expected ${status}), stderr:\n${err}")
  endif()
  foreach(f ${files})
    file(SHA256 ${WORK}/${f}.html now)
    if(NOT now STREQUAL sum_${f})
      message(FATAL_ERROR "${ARGN} changed ${f}.html")
    endif()
  endforeach()
endfunction()

refused(1 "note.html: the file is not an HTML page" ${WORK}/note.html --at 1:1)
refused(1 "feed.html: the file is not an HTML page" ${WORK}/feed.html --at 1:1)
refused(1 "binary.html: the file is binary, not an HTML page" ${WORK}/binary.html --at 1:1)
refused(1 "the page does not declare its encoding and is not UTF-8" ${WORK}/undeclared.html --at 1:1)
refused(1 "the page is not in the encoding it declares \\(utf-8\\)" ${WORK}/misdeclared.html --at 1:1)
refused(1 "the cursor 3:2 lies outside the page's text" ${WORK}/good.html --at 3:2)
refused(1 "the cursor 2:20 lies outside the page's text" ${WORK}/good.html --at 2:20)
refused(1 "the cursor 1:3 is not in the page's body" ${WORK}/good.html --at 1:3)
refused(1 "no link can stand at 2:24 \\(inside <option>\\); nothing changed" ${WORK}/places.html --at 2:24)
refused(1 "no link can stand at 3:26 \\(inside <svg>\\)" ${WORK}/places.html --at 3:26)
refused(1 "no link can stand at 4:27 \\(directly in <tbody>, between its rows or cells\\)" ${WORK}/places.html --at 4:27)
refused(1 "the page is read-only; nothing changed" ${WORK}/locked/good.html --at 2:4)
refused(1 "missing.html: no such file" ${WORK}/missing.html --at 1:1)
refused(2 "insert-link shows dialogs: run it on a display, or give --ui-script FILE" ${WORK}/good.html --at 2:4)
refused(2 "--at takes LINE:COLUMN, both from 1 \\(not 0:3\\)" ${WORK}/good.html --at 0:3)
refused(2 "usage: newsdesk insert-link PAGE --at LINE:COLUMN" ${WORK}/good.html)
refused(2 "unknown option --near" ${WORK}/good.html --near 1:1)
