# Fuzzing the shared-memory and UDP sources with what a segment or a
# datagram may hold (cmake/OrloFuzz.cmake).
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME dorne_fuzz_sources PROJECT dorne_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/libdorne/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/dorne_fuzz"
  TARGET fuzz_sources SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds")
