# The program's one version is the project's (project(... VERSION) in
# CMakeLists.txt). The about page and "corkpane --version" read it from a
# generated header, the package from CPack, and the manual pages have it
# filled in at build time. The changelog and the AppStream releases are
# history written by hand; their newest entry must name this version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${PROJECT_BINARY_DIR}/generated/version/Version.h @ONLY)
add_library(corkpane_version INTERFACE)
add_library(corkpane::version ALIAS corkpane_version)
target_include_directories(corkpane_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

file(STRINGS ${PROJECT_SOURCE_DIR}/dist/changelog _changelog_top LIMIT_COUNT 1)
if(NOT _changelog_top MATCHES "^corkpane \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "dist/changelog: the newest entry must be version ${PROJECT_VERSION}, not '${_changelog_top}'")
endif()
file(READ ${PROJECT_SOURCE_DIR}/dist/org.example.corkpane.metainfo.xml _metainfo)
string(REGEX MATCH "<release version=\"[^\"]*\"" _release "${_metainfo}")
if(NOT _release STREQUAL "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "dist/org.example.corkpane.metainfo.xml: the first release must be ${PROJECT_VERSION}, not ${_release}")
endif()
