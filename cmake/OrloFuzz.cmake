# orlo_add_fuzz_test(NAME <test> PROJECT <name> SOURCE_DIR <folder>
#                    BINARY_DIR <folder> TARGET <program> SEEDS <folder>
#                    [MAXLEN <bytes>])
# A libFuzzer target, built with clang in a build of its own (the project in
# SOURCE_DIR, built into BINARY_DIR) and run briefly on its seed corpus by the
# CTest test NAME, so that a crash fails the test run. Without clang the test
# is left out. Several targets of one project share its build.
include_guard(GLOBAL)

find_program(ORLO_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)

function(orlo_add_fuzz_test)
  cmake_parse_arguments(F "" "NAME;PROJECT;SOURCE_DIR;BINARY_DIR;TARGET;SEEDS;MAXLEN" "" ${ARGN})
  if(NOT ORLO_CLANGXX)
    message(STATUS "clang++ not found: the fuzz test ${F_NAME} is not built")
    return()
  endif()
  if(NOT F_MAXLEN)
    set(F_MAXLEN 2048)
  endif()
  if(NOT TARGET ${F_PROJECT})
    include(ExternalProject)
    ExternalProject_Add(${F_PROJECT}
      SOURCE_DIR "${F_SOURCE_DIR}"
      BINARY_DIR "${F_BINARY_DIR}"
      CMAKE_ARGS -DCMAKE_CXX_COMPILER=${ORLO_CLANGXX} -DCMAKE_BUILD_TYPE=Debug
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_BUILD OFF)
  endif()
  add_test(NAME ${F_NAME}
    COMMAND ${CMAKE_COMMAND}
      -DFUZZER=${F_BINARY_DIR}/${F_TARGET}
      -DCORPUS=${F_BINARY_DIR}/corpus_${F_NAME}
      -DSEEDS=${F_SEEDS}
      -DRUNS=20000
      -DMAXLEN=${F_MAXLEN}
      -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzz.cmake
    WORKING_DIRECTORY "${F_BINARY_DIR}")
  set_tests_properties(${F_NAME} PROPERTIES ENVIRONMENT "TZ=UTC;ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300)
endfunction()
