# Turns one page of the user's guide (Markdown) into a page of HTML.
#   cmake -DCMARK=<cmark-gfm> -DIN=<page.md> -DOUT=<page.html> -P RenderGuide.cmake
# Links between the pages name the Markdown files, so that the sources read
# well on their own; in the HTML they name the HTML pages.
execute_process(COMMAND ${CMARK} --extension table --validate-utf8 ${IN}
  OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CMARK} failed on ${IN}")
endif()
string(REGEX REPLACE "href=\"([A-Za-z0-9_-]+)\\.md([\"#])" "href=\"\\1.html\\2" body "${body}")

file(STRINGS ${IN} heading REGEX "^# " LIMIT_COUNT 1)
string(REGEX REPLACE "^# +" "" heading "${heading}")
get_filename_component(name ${IN} NAME_WE)
set(title "${heading} - Corkpane 利用ガイド")
set(nav "")
if(NOT name STREQUAL "index")
  set(nav "<nav><a href=\"index.html\">← 目次へ戻る</a></nav>\n")
endif()

file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"ja\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${title}</title>
<style>
body { max-width: 46em; margin: 1em auto; padding: 0 1em; line-height: 1.7;
  font-family: \"IPAPGothic\", \"IPAGothic\", sans-serif; color: #222; }
h1, h2, h3 { line-height: 1.3; }
h2 { border-bottom: 1px solid #ccc; padding-bottom: 0.2em; margin-top: 2em; }
pre { background: #f4f4f4; padding: 0.6em 0.8em; overflow-x: auto; }
code { font-family: monospace; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; text-align: left; vertical-align: top; }
img { max-width: 100%; border: 1px solid #ddd; }
nav { margin: 1em 0; }
</style>
</head>
<body>
${nav}${body}${nav}</body>
</html>
")
