# What a move must take along on a real site: a page's links to itself by
# name, the references of forms, srcsets, refreshes and styles, a stylesheet's
# own url(); folders the move needs are made; a failed move says why; a dry
# run changes nothing; the top page asks before the definition follows; and
# `site check` finds what still points nowhere.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/css)
set(apt_before "<html><head><link rel=stylesheet href=\"css/site.css\"><style>p{background:url(\"img/bg.png\")}</style></head>\n<body><a href=\"apt.html#sources\">sources</a> <a href=\"#top\">top</a>\n<form action=\"apt.html\"><input name=q></form><img srcset=\"img/a.png 1x, img/b.png 2x\"></body></html>\n")
file(WRITE ${SITE}/apt.html "${apt_before}")
set(bugs_before "<a href=\"/bugs.html\">bugs</a> <meta http-equiv=refresh content=\"0; url=apt.html\">\n<p style=\"background:url(apt.html)\">")
file(WRITE ${SITE}/bugs.html "${bugs_before}")
set(css_before "@import \"print.css\";\n/* url(../apt.html) */ .x { background: url( ../apt.html ) }\n")
file(WRITE ${SITE}/css/site.css "${css_before}")
file(WRITE ${SITE}/css/print.css "")
foreach(image a b bg)
  file(WRITE ${SITE}/img/${image}.png "")
endforeach()
file(WRITE ${SITE}/in-the-way "x")
file(WRITE ${SITE}/index.html "<a href=\"apt.html\">apt</a>")
file(MAKE_DIRECTORY ${SITE}/.git)
file(WRITE ${SITE}/.git/HEAD "ref: refs/heads/main\n")

include(${CMAKE_CURRENT_LIST_DIR}/site_helpers.cmake)
run(0 site init --url https://docs.example/)
run(0 site links ${SITE}/apt.html)
expect_match("${out}" "\"elements\": \\[\n      \"a\",\n      \"form\"\n    \\],\n    \"path\": \"apt.html\"")
expect_match("${out}" "\"elements\": \\[\n      \"url\"\n    \\],\n    \"path\": \"css/site.css\"")

# A dry run says what would change and changes nothing.
file(GLOB_RECURSE before_files RELATIVE ${SITE} ${SITE}/*)
run(0 site move --dry-run ${SITE}/apt.html ${SITE}/tools/apt-tools.html)
set(dry [=[{
  "dryRun": true,
  "failed": [],
  "folders": [
    "tools"
  ],
  "from": "apt.html",
  "revised": [
    {
      "links": [
        {
          "element": "link",
          "from": "css/site.css",
          "to": "../css/site.css"
        },
        {
          "element": "style",
          "from": "img/bg.png",
          "to": "../img/bg.png"
        },
        {
          "element": "a",
          "from": "apt.html#sources",
          "to": "apt-tools.html#sources"
        },
        {
          "element": "form",
          "from": "apt.html",
          "to": "apt-tools.html"
        },
        {
          "element": "img",
          "from": "img/a.png",
          "to": "../img/a.png"
        },
        {
          "element": "img",
          "from": "img/b.png",
          "to": "../img/b.png"
        }
      ],
      "path": "tools/apt-tools.html"
    },
    {
      "links": [
        {
          "element": "meta",
          "from": "apt.html",
          "to": "tools/apt-tools.html"
        },
        {
          "element": "p",
          "from": "apt.html",
          "to": "tools/apt-tools.html"
        }
      ],
      "path": "bugs.html"
    },
    {
      "links": [
        {
          "element": "url",
          "from": "../apt.html",
          "to": "../tools/apt-tools.html"
        }
      ],
      "path": "css/site.css"
    },
    {
      "links": [
        {
          "element": "a",
          "from": "apt.html",
          "to": "tools/apt-tools.html"
        }
      ],
      "path": "index.html"
    }
  ],
  "to": "tools/apt-tools.html"
}
]=])
if(NOT out STREQUAL dry)
  message(FATAL_ERROR "dry run:\n${out}")
endif()
file(GLOB_RECURSE after_files RELATIVE ${SITE} ${SITE}/*)
file(READ ${SITE}/apt.html apt)
if(NOT before_files STREQUAL after_files OR NOT apt STREQUAL apt_before OR EXISTS ${SITE}/tools)
  message(FATAL_ERROR "a dry run changed the site")
endif()

# A move that cannot be done says why and leaves everything.
run(1 site move ${SITE}/apt.html ${SITE}/in-the-way/apt.html)
expect_match("${err}" "^newsdesk: [^\n]*apt.html could not be moved to [^\n]*: cannot make folder [^\n]*in-the-way: [^\n]*in-the-way is a file\n$")

# Renamed in its folder: its links to itself follow, in every form.
run(0 site move ${SITE}/apt.html ${SITE}/apt-tools.html)
string(REPLACE "\"apt.html#sources\"" "\"apt-tools.html#sources\"" apt_after "${apt_before}")
string(REPLACE "action=\"apt.html\"" "action=\"apt-tools.html\"" apt_after "${apt_after}")
file(READ ${SITE}/apt-tools.html apt)
if(NOT apt STREQUAL apt_after)
  message(FATAL_ERROR "apt-tools.html:\n${apt}\nexpected:\n${apt_after}")
endif()
file(READ ${SITE}/bugs.html bugs)
if(NOT bugs STREQUAL "<a href=\"/bugs.html\">bugs</a> <meta http-equiv=refresh content=\"0; url=apt-tools.html\">\n<p style=\"background:url(apt-tools.html)\">")
  message(FATAL_ERROR "bugs.html: ${bugs}")
endif()
file(READ ${SITE}/css/site.css css)
string(REPLACE "url( ../apt.html )" "url( ../apt-tools.html )" css_after "${css_before}")
if(NOT css STREQUAL css_after)
  message(FATAL_ERROR "css/site.css:\n${css}")
endif()

# A root-relative link of a page to itself follows it into a new folder.
run(0 site move ${SITE}/bugs.html ${SITE}/deep/er/bugs.html)
expect_match("${out}" "\"folders\": \\[\n    \"deep\",\n    \"deep/er\"\n  \\]")
file(READ ${SITE}/deep/er/bugs.html bugs)
expect_match("${bugs}" "^<a href=\"/deep/er/bugs.html\">bugs</a> <meta http-equiv=refresh content=\"0; url=../../apt-tools.html\">")

# The top page: without a yes the definition stays and the user is warned;
# --yes makes the new name the top page.
run(0 site move ${SITE}/index.html ${SITE}/home.html)
expect_match("${err}" "^newsdesk: warning: index.html was the site's top page")
file(READ ${SITE}/newsdesk-site.json definition)
expect_match("${definition}" "^{\n  \"url\": \"https://docs.example/\"\n}\n$")
run(0 site move ${SITE}/home.html ${SITE}/index.html)
run(0 site move --yes ${SITE}/index.html ${SITE}/start.html)
expect_match("${out}" "\"topPage\": \"start.html\"")
file(READ ${SITE}/newsdesk-site.json definition)
expect_match("${definition}" "^{\n  \"url\": \"https://docs.example/\",\n  \"topPage\": \"start.html\"\n}\n$")

# What points nowhere, where it is written; nothing in the hidden folder.
run(0 site check)
file(WRITE ${SITE}/css/print.css "b{background:url(gone.png)}")
file(REMOVE ${SITE}/img/a.png)
run(1 site check)
set(check [=[[
  {
    "column": 65,
    "element": "img",
    "line": 3,
    "missing": "img/a.png",
    "page": "apt-tools.html",
    "url": "img/a.png"
  },
  {
    "column": 18,
    "element": "url",
    "line": 1,
    "missing": "css/gone.png",
    "page": "css/print.css",
    "url": "gone.png"
  }
]
]=])
if(NOT out STREQUAL check)
  message(FATAL_ERROR "site check:\n${out}")
endif()
