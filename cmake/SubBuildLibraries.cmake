# The two libraries and the test framework in a sub-build (SubBuild.cmake),
# compiled with the options its project added before this include.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

set(ORLO_BUILD_TESTS OFF)
set(ORLO_BUILD_BENCHMARKS OFF)
set(ORLO_BUNDLE_BIN "${CMAKE_BINARY_DIR}/lib")

include("${ORLO_ROOT}/cmake/OrloLibrary.cmake")
add_subdirectory("${ORLO_ROOT}/libsarto" libsarto)
add_subdirectory("${ORLO_ROOT}/libdorne" libdorne)

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
