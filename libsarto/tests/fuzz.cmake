# Fuzzing the entry of fonts into the catalogue (cmake/OrloFuzz.cmake).
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME sarto_fuzz_fonts PROJECT sarto_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/libsarto/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/sarto_fuzz"
  TARGET fuzz_fonts SEEDS "${PROJECT_SOURCE_DIR}/libsarto/fuzz/seeds")
