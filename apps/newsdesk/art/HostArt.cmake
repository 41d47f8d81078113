# The host program's pictures: drawn at build time by a small program of ours,
# compiled by windres, linked in as raw bytes. A static library so that the
# program and the tests carry the same pictures. Included from
# apps/newsdesk/CMakeLists.txt.
find_program(NEWSDESK_WINDRES NAMES i686-w64-mingw32-windres REQUIRED)

set(ND_ART_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ND_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/art)
set(ND_ART_FILE ${ND_ART_DIR}/host_art.res)
set(ND_ART_PICTURES
  ${ND_ART_DIR}/begi_pressed.bmp ${ND_ART_DIR}/begi_hot.bmp ${ND_ART_DIR}/begi_marked.bmp
  ${ND_ART_DIR}/begi_normal.bmp ${ND_ART_DIR}/app.ico)

add_executable(nd_make_host_art ${ND_ART_SOURCE_DIR}/MakeHostArt.cpp)
add_custom_command(
  OUTPUT ${ND_ART_PICTURES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ND_ART_DIR}
  COMMAND nd_make_host_art ${ND_ART_DIR}
  DEPENDS nd_make_host_art
  COMMENT "Drawing the host program's pictures"
  VERBATIM)
add_custom_command(
  OUTPUT ${ND_ART_FILE}
  COMMAND ${NEWSDESK_WINDRES}
          --preprocessor=${CMAKE_C_COMPILER}
          --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED
          -I ${PROJECT_SOURCE_DIR}/platform -I ${ND_ART_DIR}
          -c 65001 -O res -i ${ND_ART_SOURCE_DIR}/host_art.rc -o ${ND_ART_FILE}
  DEPENDS ${ND_ART_SOURCE_DIR}/host_art.rc ${PROJECT_SOURCE_DIR}/platform/hostapp/ui/HostArtIds.h
          ${ND_ART_PICTURES}
  COMMENT "Compiling host_art.rc"
  VERBATIM)

add_library(newsdesk_host_art STATIC
  ${ND_ART_SOURCE_DIR}/HostArt.cpp
  ${ND_ART_SOURCE_DIR}/HostArt.S)
target_include_directories(newsdesk_host_art PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(newsdesk_host_art PUBLIC nd_win32)
set_source_files_properties(${ND_ART_SOURCE_DIR}/HostArt.S PROPERTIES
  COMPILE_DEFINITIONS "ND_HOST_ART_FILE=\"${ND_ART_FILE}\""
  OBJECT_DEPENDS ${ND_ART_FILE})
