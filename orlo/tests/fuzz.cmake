# Fuzzing the readers of record files and of the XML files (settings, time
# offset, project, profile): the targets are built with clang and libFuzzer
# in a build of their own and run briefly on their seed corpora by CTest, so
# that a crash fails the test run.
find_program(ORLO_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT ORLO_CLANGXX)
  message(STATUS "clang++ not found: the reader fuzz tests are not built")
else()
  include(ExternalProject)
  set(ORLO_FUZZ_BIN "${CMAKE_BINARY_DIR}/fuzz")
  ExternalProject_Add(orlo_fuzz
    SOURCE_DIR "${PROJECT_SOURCE_DIR}/orlo/fuzz"
    BINARY_DIR "${ORLO_FUZZ_BIN}"
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${ORLO_CLANGXX} -DCMAKE_BUILD_TYPE=Debug
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD OFF)
  # Each target on its seeds, briefly; XML inputs may be longer than records.
  foreach(entry "record;seeds;2048" "xml;seeds_xml;4096")
    list(GET entry 0 name)
    list(GET entry 1 seeds)
    list(GET entry 2 maxlen)
    add_test(NAME fuzz_${name}
      COMMAND ${CMAKE_COMMAND}
        -DFUZZER=${ORLO_FUZZ_BIN}/fuzz_${name}
        -DCORPUS=${CMAKE_BINARY_DIR}/fuzz/corpus_${name}
        -DSEEDS=${PROJECT_SOURCE_DIR}/orlo/fuzz/${seeds}
        -DRUNS=20000
        -DMAXLEN=${maxlen}
        -P ${PROJECT_SOURCE_DIR}/orlo/fuzz/run_fuzz.cmake
      WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz")
    set_tests_properties(fuzz_${name} PROPERTIES ENVIRONMENT "TZ=UTC;ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300)
  endforeach()
endif()
