# Configured with BUILD_TESTING=OFF, the project looks for none of the libraries only the tests
# and the benchmarks need: a search leaves its cache entry (GTest_DIR, GTEST_INCLUDE_DIR, ...)
# even when it finds nothing.
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${SCRATCH} -DBUILD_TESTING=OFF -DQUILLET_GUI=${GUI}
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE_RECURSE "${SCRATCH}")
  message(FATAL_ERROR "configuring without tests failed:\n${output}")
endif()
file(STRINGS "${SCRATCH}/CMakeCache.txt" searched REGEX "^(GTest|GTEST|GMock|GMOCK|nlohmann|benchmark)[A-Za-z_]*:")
file(REMOVE_RECURSE "${SCRATCH}")
if(searched)
  message(FATAL_ERROR "a build without tests looked for a test library: ${searched}")
endif()
