# Fuzzing the record reader (cmake/OrloFuzz.cmake).
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME fuzz_record PROJECT orlo_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/orlo/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/fuzz"
  TARGET fuzz_record SEEDS "${PROJECT_SOURCE_DIR}/orlo/fuzz/seeds")
