# Fuzzing the expression engine with formulas (cmake/OrloFuzz.cmake), from
# a seed corpus of the documented examples.
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME dorne_fuzz_expression PROJECT dorne_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/libdorne/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/dorne_fuzz"
  TARGET fuzz_expression SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds" MAXLEN 1024)
