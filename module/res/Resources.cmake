# The module's resource script, compiled by windres into the standard .res
# format and linked into newsdesk_core as raw bytes. Included from
# module/CMakeLists.txt after newsdesk_core is defined.
find_program(NEWSDESK_WINDRES NAMES i686-w64-mingw32-windres REQUIRED)

set(ND_RES_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ND_RES_DIR ${CMAKE_CURRENT_BINARY_DIR}/res)
set(ND_RES_FILE ${ND_RES_DIR}/newsdesk.res)

# The bitmaps are drawn at build time by a small program of ours.
add_executable(nd_make_bitmaps ${ND_RES_SOURCE_DIR}/MakeBitmaps.cpp)
add_custom_command(
  OUTPUT ${ND_RES_DIR}/rss_icon.bmp ${ND_RES_DIR}/navi_icons.bmp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ND_RES_DIR}
  COMMAND nd_make_bitmaps ${ND_RES_DIR}
  DEPENDS nd_make_bitmaps
  COMMENT "Drawing the module's bitmaps"
  VERBATIM)

# The host's C preprocessor stands in for the one of the Windows toolchain;
# ResourceStyles.h gives the style names their values, so no SDK header is read.
add_custom_command(
  OUTPUT ${ND_RES_FILE}
  COMMAND ${NEWSDESK_WINDRES}
          --preprocessor=${CMAKE_C_COMPILER}
          --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED
          -I ${PROJECT_SOURCE_DIR}/module -I ${ND_RES_DIR}
          -c 65001 -O res -i ${ND_RES_SOURCE_DIR}/newsdesk.rc -o ${ND_RES_FILE}
  DEPENDS ${ND_RES_SOURCE_DIR}/newsdesk.rc ${ND_RES_SOURCE_DIR}/ResourceIds.h
          ${ND_RES_SOURCE_DIR}/ResourceStyles.h
          ${ND_RES_DIR}/rss_icon.bmp ${ND_RES_DIR}/navi_icons.bmp
  COMMENT "Compiling newsdesk.rc"
  VERBATIM)

target_sources(newsdesk_core PRIVATE
  ${ND_RES_SOURCE_DIR}/CompiledResources.cpp
  ${ND_RES_SOURCE_DIR}/CompiledResources.S)
set_source_files_properties(${ND_RES_SOURCE_DIR}/CompiledResources.S PROPERTIES
  COMPILE_DEFINITIONS "ND_RES_FILE=\"${ND_RES_FILE}\""
  OBJECT_DEPENDS ${ND_RES_FILE})
