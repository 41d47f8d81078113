cmake_minimum_required(VERSION 3.20)
# `newsdesk --site SITE --ui-script ... insert-link PAGE --at L:C` end to end:
# a new link with icon and text (the feed picked from the site's list), an
# existing link edited (an icon from the samples), the auto-discovery link
# alone on a Shift_JIS page, a cancelled dialog, and a page with a <base href>
# announcing its feed in another URL form. Each saved page must be
# the old one with exactly the change, and a second parser must find the
# anchor and the feed link in it.
#   PROGRAM  newsdesk;  WORK  folder made afresh;  CHECK  check_page.py;
#   ICONS    the folder holding the build's rss_icon.gif and rss_icons/
file(REMOVE_RECURSE ${WORK})
set(SITE ${WORK}/site)
file(MAKE_DIRECTORY ${SITE}/news ${WORK}/product)
file(COPY ${ICONS}/rss_icon.gif ${ICONS}/rss_icons DESTINATION ${WORK}/product)
set(ENV{NEWSDESK_PRODUCT_FOLDER} ${WORK}/product)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
file(WRITE ${SITE}/newsdesk-site.json "{\"url\": \"https://ann.example/\", \"topPage\": \"index.html\"}")
file(WRITE ${SITE}/news/feed.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Ann &amp; news</title><link>https://ann.example/</link><description>d</description></channel></rss>")

# run(NAME STATUS SCRIPT ARGS...): the host program on the site.
function(run name expected script)
  execute_process(COMMAND ${PROGRAM} --site ${SITE} --ui-script ${script} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected)
    message(FATAL_ERROR "${name}: exit status ${status}, expected ${expected}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# check(NAME PAGE ENCODING EXPECTED-TEXT CHECK-ARGS...)
function(check name page encoding expected)
  file(WRITE ${WORK}/${name}.expected "${expected}")
  execute_process(COMMAND /usr/bin/python3 ${CHECK} ${page} ${encoding} ${WORK}/${name}.expected
                          ${ARGN}
    RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name}: ${err}")
  endif()
endfunction()

# 1. A new link with the default icon and a text; the feed from the site's list.
set(page "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n  <meta charset=\"utf-8\">\n  <title>お知らせ</title>\n</head>\n<body>\n  <p>新着はここです。</p>\n</body>\n</html>\n")
file(WRITE ${SITE}/news/index.html "${page}")
file(WRITE ${WORK}/new.json [[
{"dialogs": [
  {"template": 11905, "steps": [
    {"click": 32160},
    {"check": 32161, "checked": true},
    {"check": 32165, "checked": true},
    {"type": 32166, "text": "最新情報 & more"},
    {"check": 32167, "checked": true},
    {"click": 1}]},
  {"template": 11901, "steps": [{"select": 32150, "rows": [0]}, {"click": 1}]}
]}]])
run(new 0 ${WORK}/new.json insert-link ${SITE}/news/index.html --at 8:11)
if(NOT out STREQUAL "saved\n")
  message(FATAL_ERROR "new: printed ${out}")
endif()
string(REPLACE "ここです" "ここ<A HREF=\"feed.rss\"><IMG SRC=\"../rss_icons/rss_icon.gif\" ID=\"LumDefaultRssIcon\">最新情報 &amp; more</A>です" want "${page}")
string(REPLACE "</title>\n" "</title>\n  <link rel=\"alternate\" type=\"application/rss+xml\" title=\"Ann &amp; news\" href=\"feed.rss\">\n" want "${want}")
# The product's icon lies outside the site: the page names the site's copy.
file(SHA256 ${WORK}/product/rss_icon.gif product_icon)
file(SHA256 ${SITE}/rss_icons/rss_icon.gif site_icon)
if(NOT product_icon STREQUAL site_icon)
  message(FATAL_ERROR "new: the site's copy of the icon differs from the product's")
endif()
check(new ${SITE}/news/index.html utf-8 "${want}"
  --anchor feed.rss ../rss_icons/rss_icon.gif LumDefaultRssIcon "最新情報 & more" --anchors 1
  --feed-link feed.rss "Ann & news" --feed-links 1)

# 2. Editing that link: an icon from the samples, another text; the feed link stays.
file(WRITE ${WORK}/edit.json "{\"dialogs\": [{\"template\": 11905, \"steps\": [
  {\"expect\": 32167, \"checked\": true},
  {\"click\": 32163}, {\"click\": 32180}, {\"type\": 32166, \"text\": \"Fresh\"}, {\"click\": 1}]}],
 \"choosers\": [{\"kind\": \"open\", \"fileKind\": 90, \"path\": \"${WORK}/product/rss_icons/rss_blue.gif\"}]}")
run(edit 0 ${WORK}/edit.json insert-link ${SITE}/news/index.html --at 9:25)
string(REPLACE "<IMG SRC=\"../rss_icons/rss_icon.gif\" ID=\"LumDefaultRssIcon\">最新情報 &amp; more" "<IMG SRC=\"../rss_icons/rss_blue.gif\">Fresh" want "${want}")
check(edit ${SITE}/news/index.html utf-8 "${want}"
  --anchor feed.rss ../rss_icons/rss_blue.gif - Fresh --anchors 1 --feed-link feed.rss "Ann & news" --feed-links 1)

# 3. Only the auto-discovery link, on a legacy Shift_JIS page; its title in
#    Japanese is written in the page's encoding.
file(WRITE ${SITE}/news/feed2.rss "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>日本のニュース</title><link>https://ann.example/</link><description>d</description></channel></rss>")
set(legacy "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML>\n<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\n<TITLE>日本語のページ</TITLE>\n</HEAD>\n<BODY>\n<P>本文。<BR>\n</BODY>\n</HTML>\n")
file(WRITE ${WORK}/legacy.utf8 "${legacy}")
execute_process(COMMAND /usr/bin/python3 -c
  "import sys; open(sys.argv[2],'wb').write(open(sys.argv[1],encoding='utf-8').read().encode('shift_jis'))"
  ${WORK}/legacy.utf8 ${SITE}/news/legacy.html)
file(WRITE ${WORK}/discovery.json [[
{"dialogs": [{"template": 11905, "steps": [
  {"type": 32159, "text": "feed2.rss"}, {"check": 32167, "checked": true}, {"click": 1}]}]}]])
run(discovery 0 ${WORK}/discovery.json insert-link ${SITE}/news/legacy.html --at 8:4)
string(REPLACE "</TITLE>\n" "</TITLE>\n<link rel=\"alternate\" type=\"application/rss+xml\" title=\"日本のニュース\" href=\"feed2.rss\">\n" want "${legacy}")
check(discovery ${SITE}/news/legacy.html shift_jis "${want}" --anchors 0
  --feed-link feed2.rss "日本のニュース" --feed-links 1)

# 4. Cancel: nothing is written.
file(SHA256 ${SITE}/news/legacy.html before)
file(WRITE ${WORK}/cancel.json [[{"dialogs": [{"template": 11905, "steps": [{"click": 2}]}]}]])
run(cancel 0 ${WORK}/cancel.json insert-link ${SITE}/news/legacy.html --at 9:4)
file(SHA256 ${SITE}/news/legacy.html after)
if(NOT out STREQUAL "unchanged\n" OR NOT before STREQUAL after)
  message(FATAL_ERROR "cancel: printed ${out} or changed the page")
endif()

# 5. A page whose <base href> is the site's root, announcing the feed by its
#    published URL in capitals with a query: the dialog finds the announcement,
#    OK adds no second one, and the anchor resolves against the base to the feed.
file(MAKE_DIRECTORY ${SITE}/blog)
file(COPY ${SITE}/news/feed.rss DESTINATION ${SITE}/blog)
set(based "<!DOCTYPE html>\n<html><head><base href=\"/\"><title>t</title>\n<link rel=\"alternate\" type=\"application/rss+xml\" href=\"HTTPS://ANN.EXAMPLE/blog/feed.rss?x=1\">\n</head><body>\n<p>Post text</p>\n</body></html>\n")
file(WRITE ${SITE}/blog/post.html "${based}")
# The site's list holds blog/feed.rss, news/feed.rss, news/feed2.rss.
file(WRITE ${WORK}/based.json [[
{"dialogs": [{"template": 11905, "steps": [
  {"click": 32160}, {"expect": 32167, "checked": true},
  {"check": 32165, "checked": true}, {"type": 32166, "text": "RSS"}, {"click": 1}]},
  {"template": 11901, "steps": [{"select": 32150, "rows": [0]}, {"click": 1}]}]}]])
run(based 0 ${WORK}/based.json insert-link ${SITE}/blog/post.html --at 5:8)
string(REPLACE "Post text" "Post<A HREF=\"blog/feed.rss\">RSS</A> text" want "${based}")
check(based ${SITE}/blog/post.html utf-8 "${want}" --anchors 1 --feed-links 1)
