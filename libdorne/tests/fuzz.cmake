# Fuzzing the text formats that view files carry (cmake/OrloFuzz.cmake).
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME dorne_fuzz_format PROJECT dorne_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/libdorne/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/dorne_fuzz"
  TARGET fuzz_format SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds" MAXLEN 512)
