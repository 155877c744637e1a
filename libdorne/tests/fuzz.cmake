# Fuzzing the view file reader (cmake/OrloFuzz.cmake); the seeds are files
# the writer wrote (test_viewFile keeps them current).
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME dorne_fuzz_viewFile PROJECT dorne_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/libdorne/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/dorne_fuzz"
  TARGET fuzz_viewFile SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds" MAXLEN 4096)
