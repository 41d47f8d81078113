# The host program's resource script, compiled by windres into the standard
# .res format and linked into the program as raw bytes. Included from
# apps/newsdesk/CMakeLists.txt after the program is defined.
find_program(NEWSDESK_WINDRES NAMES i686-w64-mingw32-windres REQUIRED)

set(ND_HOST_RES_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ND_HOST_RES_FILE ${CMAKE_CURRENT_BINARY_DIR}/res/host.res)
add_custom_command(
  OUTPUT ${ND_HOST_RES_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/res
  COMMAND ${NEWSDESK_WINDRES}
          --preprocessor=${CMAKE_C_COMPILER}
          --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED
          -I ${PROJECT_SOURCE_DIR}/platform -I ${ND_HOST_RES_SOURCE_DIR}
          -c 65001 -O res -i ${ND_HOST_RES_SOURCE_DIR}/host.rc -o ${ND_HOST_RES_FILE}
  DEPENDS ${ND_HOST_RES_SOURCE_DIR}/host.rc ${ND_HOST_RES_SOURCE_DIR}/HostStyles.h
          ${PROJECT_SOURCE_DIR}/platform/hostapp/ui/HostResourceIds.h
  COMMENT "Compiling host.rc"
  VERBATIM)
add_custom_target(newsdesk_host_res DEPENDS ${ND_HOST_RES_FILE})
set_property(GLOBAL PROPERTY NEWSDESK_HOST_RES_FILE ${ND_HOST_RES_FILE})

target_sources(newsdesk PRIVATE
  ${ND_HOST_RES_SOURCE_DIR}/HostResources.cpp
  ${ND_HOST_RES_SOURCE_DIR}/HostResources.S)
set_source_files_properties(${ND_HOST_RES_SOURCE_DIR}/HostResources.S PROPERTIES
  COMPILE_DEFINITIONS "ND_HOST_RES_FILE=\"${ND_HOST_RES_FILE}\""
  OBJECT_DEPENDS ${ND_HOST_RES_FILE})
