# Fuzzing what reaches the view engine from outside (cmake/OrloFuzz.cmake):
# segments and datagrams of the shared-memory and UDP sources, the text
# formats that view files carry, the formulas of the expression engine, the
# image pixel blocks and view files.
# All targets come from one clang build.
include("${PROJECT_SOURCE_DIR}/cmake/OrloFuzz.cmake")
set(DORNE_FUZZ_ARGS PROJECT dorne_fuzz SOURCE_DIR "${PROJECT_SOURCE_DIR}/libdorne/fuzz"
    BINARY_DIR "${CMAKE_BINARY_DIR}/dorne_fuzz")
# The sources' segment key and UDP port are the system's pick at every run
# and steer a branch or two: their coverage may differ by a line between
# runs of the same inputs.
orlo_add_fuzz_test(NAME dorne_fuzz_sources ${DORNE_FUZZ_ARGS}
  TARGET fuzz_sources SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/sources")
orlo_add_fuzz_test(NAME dorne_fuzz_format ${DORNE_FUZZ_ARGS}
  TARGET fuzz_format SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/format" MAXLEN 512)
orlo_add_fuzz_test(NAME dorne_fuzz_expression ${DORNE_FUZZ_ARGS}
  TARGET fuzz_expression SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/expression" MAXLEN 1024)
# The image loaders on pixel blocks and sizes of every kind.
orlo_add_fuzz_test(NAME dorne_fuzz_images ${DORNE_FUZZ_ARGS}
  TARGET fuzz_images SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/images" MAXLEN 1024)
# The view file reader on files the writer wrote (test_viewFile keeps them current).
# Its files live in a folder of a random name, which compared texts would
# carry into the mutations: the test's run leaves compares out of them.
orlo_add_fuzz_test(NAME dorne_fuzz_viewFile ${DORNE_FUZZ_ARGS}
  TARGET fuzz_viewFile SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/viewFile" MAXLEN 4096
  FLAGS "-use_cmp=0")
# The XML view file reader on files the writer wrote (test_viewXml and
# internal_xmlDefinitions keep them current).
orlo_add_fuzz_test(NAME dorne_fuzz_viewXml ${DORNE_FUZZ_ARGS}
  TARGET fuzz_viewXml SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/viewXml" MAXLEN 8192)
# The symbol file import on arbitrary text.
orlo_add_fuzz_test(NAME dorne_fuzz_symbolFile ${DORNE_FUZZ_ARGS}
  TARGET fuzz_symbolFile SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/symbolFile" MAXLEN 4096)
# The SVG path data of "path" elements.
orlo_add_fuzz_test(NAME dorne_fuzz_path ${DORNE_FUZZ_ARGS}
  TARGET fuzz_path SEEDS "${PROJECT_SOURCE_DIR}/libdorne/fuzz/seeds/path" MAXLEN 1024)
