cmake_minimum_required(VERSION 3.20)
# Runs `newsdesk --site SITE --ui-script SCRIPT files` on a site with pages in
# UTF-8 and Shift_JIS that link to its feeds, and checks the files, the pages
# and the database after a new feed, a copy, an edit, a rename and a delete.
#   SITE    folder made afresh;  SCRIPT  the UI script
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/news)
file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/\", \"topPage\": \"index.html\"}")
set(index "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" href=\"news/a.rss\"></head>\n<body><p>top</p><a href=\"https://ann.example/news/a.rss\">Alpha</a> <a href=\"c.rdf\">Gamma feed</a></body></html>\n")
file(WRITE ${SITE}/index.html "${index}")
# Shift_JIS: the anchor's text is "ニュース".
execute_process(COMMAND /usr/bin/python3 -c
  "import sys; open(sys.argv[1],'wb').write('<html><head><meta charset=\"Shift_JIS\"></head><body><a href=\"../c.rdf\">ニュース</a> <a href=\"a.rss\">α</a></body></html>\\n'.encode('shift_jis'))"
  ${SITE}/news/page.html)
file(WRITE ${SITE}/news/a.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Alpha</title><link>https://ann.example/</link><description>d</description></channel></rss>")
file(WRITE ${SITE}/c.rdf "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\"><channel><title>Gamma</title><link>https://ann.example/</link><description>d</description></channel></rdf:RDF>")
file(SHA256 ${SITE}/news/page.html sjisBefore)

# The user's settings of the run: an option set before must survive the list
# keeping its placement in the same file.
set(ENV{XDG_CONFIG_HOME} ${SITE}-config)
file(REMOVE_RECURSE ${SITE}-config)
execute_process(COMMAND ${PROGRAM} options podcast-conversion off RESULT_VARIABLE status)
execute_process(COMMAND ${PROGRAM} --site ${SITE} --ui-script ${SCRIPT} files
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out STREQUAL "changed\n")
  message(FATAL_ERROR "files failed (${status}): ${out} ${err}")
endif()

foreach(gone news/a.rss c.rdf)
  if(EXISTS ${SITE}/${gone})
    message(FATAL_ERROR "${gone} is still there")
  endif()
endforeach()
foreach(made made.rss news/copy.rss news/renamed.rss)
  if(NOT EXISTS ${SITE}/${made})
    message(FATAL_ERROR "${made} was not made")
  endif()
endforeach()
file(READ ${SITE}/made.rss made)
file(READ ${SITE}/news/copy.rss copy)
if(NOT made MATCHES "<title>Made again</title>" OR NOT copy MATCHES "<title>Alpha</title>")
  message(FATAL_ERROR "made.rss or copy.rss holds the wrong feed:\n${made}\n${copy}")
endif()

# The renamed feed's links follow it, relative ones staying relative; the
# deleted feed's anchor keeps its text without the link; nothing else moves.
file(READ ${SITE}/index.html page)
string(REPLACE "href=\"news/a.rss\"" "href=\"news/renamed.rss\"" want "${index}")
string(REPLACE "https://ann.example/news/a.rss" "https://ann.example/news/renamed.rss" want "${want}")
string(REPLACE "<a href=\"c.rdf\">Gamma feed</a>" "Gamma feed" want "${want}")
if(NOT page STREQUAL want)
  message(FATAL_ERROR "index.html is\n${page}\nexpected\n${want}")
endif()
execute_process(COMMAND /usr/bin/python3 -c
  "import sys; t=open(sys.argv[1],'rb').read().decode('shift_jis'); w='<html><head><meta charset=\"Shift_JIS\"></head><body>ニュース <a href=\"renamed.rss\">α</a></body></html>\\n'; sys.exit(0 if t==w else repr(t))"
  ${SITE}/news/page.html RESULT_VARIABLE sjis ERROR_VARIABLE sjisErr)
if(NOT sjis EQUAL 0)
  message(FATAL_ERROR "the Shift_JIS page is not as expected: ${sjisErr}")
endif()

execute_process(COMMAND ${PROGRAM} --site ${SITE} site feeds OUTPUT_VARIABLE feeds)
foreach(path made.rss news/copy.rss news/renamed.rss)
  string(FIND "${feeds}" "\"${path}\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${path} is not among the site's feeds:\n${feeds}")
  endif()
endforeach()

file(READ ${SITE}-config/newsdesk/options.json settings)
if(NOT settings MATCHES "dlg.+RssFileListDlg")
  message(FATAL_ERROR "the list's placement was not kept:\n${settings}")
endif()
execute_process(COMMAND ${PROGRAM} options OUTPUT_VARIABLE options)
if(NOT options MATCHES "podcast-conversion off")
  message(FATAL_ERROR "the options were lost:\n${options}")
endif()
