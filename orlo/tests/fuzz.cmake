# Fuzzing the readers of record files and of the XML files (settings, time
# offset, project, profile); both targets come from one clang build
# (cmake/OrloFuzz.cmake). XML inputs may be longer than records.
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
orlo_add_fuzz_test(NAME fuzz_record PROJECT orlo_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/orlo/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/fuzz"
  TARGET fuzz_record SEEDS "${PROJECT_SOURCE_DIR}/orlo/fuzz/seeds")
orlo_add_fuzz_test(NAME fuzz_xml PROJECT orlo_fuzz
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/orlo/fuzz" BINARY_DIR "${CMAKE_BINARY_DIR}/fuzz"
  TARGET fuzz_xml SEEDS "${PROJECT_SOURCE_DIR}/orlo/fuzz/seeds_xml" MAXLEN 4096)
