# Fuzzing the font entry into the catalogue: built with clang and libFuzzer
# in a build of its own and run briefly on the seed corpus by CTest, so that
# a crash fails the test run.
find_program(SARTO_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT SARTO_CLANGXX)
  message(STATUS "clang++ not found: the font fuzz test is not built")
else()
  include(ExternalProject)
  set(SARTO_FUZZ_BIN "${CMAKE_BINARY_DIR}/sarto_fuzz")
  ExternalProject_Add(sarto_fuzz
    SOURCE_DIR "${PROJECT_SOURCE_DIR}/libsarto/fuzz"
    BINARY_DIR "${SARTO_FUZZ_BIN}"
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${SARTO_CLANGXX} -DCMAKE_BUILD_TYPE=Debug
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD OFF)
  add_test(NAME sarto_fuzz_fonts
    COMMAND ${CMAKE_COMMAND}
      -DFUZZER=${SARTO_FUZZ_BIN}/fuzz_fonts
      -DCORPUS=${SARTO_FUZZ_BIN}/corpus
      -DSEEDS=${PROJECT_SOURCE_DIR}/libsarto/fuzz/seeds
      -DRUNS=20000
      -P ${PROJECT_SOURCE_DIR}/orlo/fuzz/run_fuzz.cmake
    WORKING_DIRECTORY "${SARTO_FUZZ_BIN}")
  set_tests_properties(sarto_fuzz_fonts PROPERTIES ENVIRONMENT "TZ=UTC;ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300)
endif()
