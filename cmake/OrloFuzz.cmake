# orlo_add_fuzz_test(NAME <test> PROJECT <name> SOURCE_DIR <folder>
#                    BINARY_DIR <folder> TARGET <program> SEEDS <folder>
#                    [MAXLEN <bytes>] [FLAGS "<libFuzzer options>"])
# A libFuzzer target, built with clang in a build of its own (the project in
# SOURCE_DIR, built into BINARY_DIR) and run briefly by the CTest test NAME,
# so that a crash fails the test run: its seeds and a fixed number of inputs
# generated from a fixed seed, in a scratch corpus (cmake/RunFuzz.cmake), the
# same inputs at every run. Longer exploratory runs are the build target
# NAME_explore (ten minutes, e.g. `ninja -C <build> dorne_fuzz_format_explore`),
# which keeps what it finds in BINARY_DIR/corpus_NAME for the next one.
# FLAGS are added to the test's run only.
# Without clang both are left out. Several targets of one project share its
# build.
include_guard(GLOBAL)

find_program(ORLO_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)

function(orlo_add_fuzz_test)
  cmake_parse_arguments(F "" "NAME;PROJECT;SOURCE_DIR;BINARY_DIR;TARGET;SEEDS;MAXLEN;FLAGS" "" ${ARGN})
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
      -DCORPUS=${F_BINARY_DIR}/scratch_${F_NAME}
      -DSEEDS=${F_SEEDS}
      -DRUNS=20000
      -DSEED=1
      -DMAXLEN=${F_MAXLEN}
      "-DFLAGS=${F_FLAGS}"
      -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzz.cmake
    WORKING_DIRECTORY "${F_BINARY_DIR}")
  set_tests_properties(${F_NAME} PROPERTIES ENVIRONMENT "TZ=UTC;ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300)
  add_custom_target(${F_NAME}_explore
    COMMAND ${CMAKE_COMMAND} -E make_directory "${F_BINARY_DIR}/corpus_${F_NAME}"
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ASAN_OPTIONS=detect_leaks=0
      "${F_BINARY_DIR}/${F_TARGET}" -max_total_time=600 -max_len=${F_MAXLEN} -timeout=10 -rss_limit_mb=4096
      "${F_BINARY_DIR}/corpus_${F_NAME}" "${F_SEEDS}"
    WORKING_DIRECTORY "${F_BINARY_DIR}"
    USES_TERMINAL)
  add_dependencies(${F_NAME}_explore ${F_PROJECT})
endfunction()
