# The package's version is the project's: the upstream part of the newest debian/changelog
# entry (no epoch, no Debian revision) must be VERSION.
file(STRINGS "${CHANGELOG}" first LIMIT_COUNT 1)
if(NOT first MATCHES "^quillet \\(([^)]+)\\) ")
  message(FATAL_ERROR "${CHANGELOG}: the first line names no version of quillet: ${first}")
endif()
set(packaged "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^[0-9]+:" "" upstream "${packaged}")
string(REGEX REPLACE "-[^-]*$" "" upstream "${upstream}")
if(NOT upstream STREQUAL VERSION)
  message(FATAL_ERROR "${CHANGELOG} is at ${packaged}, the project at ${VERSION}: "
                      "add a changelog entry for ${VERSION} (dch -v ${VERSION}-1)")
endif()
