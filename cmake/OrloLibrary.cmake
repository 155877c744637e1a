# Helpers for the bundle's shared libraries (libdorne, libsarto) and their
# tests. Included by the top-level project and by the ThreadSanitizer
# sub-build, so that both build the libraries the same way.

set(ORLO_EXPORTS_MAP "${CMAKE_CURRENT_LIST_DIR}/exports.map")

# Installed folders (lib, include, ...) by the system's conventions: both
# builds lay the libraries out the same way for install and packaging.
include(GNUInstallDirs)

# The libraries' version, one for both: they are released together and
# libdorne's headers include libsarto's (sartoPlatform.h), so one's interface
# is partly the other's. File names and SONAMEs (libdorne.so.1 ->
# libdorne.so.1.0.0), pkg-config and CMake package versions and the Debian
# packages (libdorne1, version 1.0.0-1) all follow it. How it moves:
# - major (the SONAME, so the runtime packages' names too): a record layout
#   or a signature of a public header changes, or an exported name goes;
#   programs built against the old headers must be rebuilt;
# - minor: something is added (a function, a family, a header) and nothing
#   that was there changes; programs built against an older minor keep
#   working;
# - patch: fixes only, no header changes.
set(ORLO_LIBRARY_VERSION 1.0.0)
string(REGEX MATCH "^[0-9]+" ORLO_LIBRARY_SOVERSION "${ORLO_LIBRARY_VERSION}")

# orlo_add_shared_library(<target> <source>...)
# A shared library lib<target>.so in the bundle beside the executable,
# versioned by ORLO_LIBRARY_VERSION (the SONAME carries the major number and
# the build lays out the SONAME and development links beside the file):
# - only what the export macro marks is visible (C linkage, plain names),
#   the version script hides everything else, std:: instances included;
# - calls between exported functions bind inside the library, so that an
#   executable defining the same names never captures them
#   (-Bsymbolic-functions: data symbols keep the normal rules, since an
#   executable that reads exported data holds its copy of it);
# - run path $ORIGIN: the library finds its siblings in the bundle.
function(orlo_add_shared_library target)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY "${ORLO_BUNDLE_BIN}"
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    BUILD_WITH_INSTALL_RPATH ON
    INSTALL_RPATH "$ORIGIN"
    LINK_DEPENDS "${ORLO_EXPORTS_MAP}")
  set_target_properties(${target} PROPERTIES
    VERSION "${ORLO_LIBRARY_VERSION}" SOVERSION "${ORLO_LIBRARY_SOVERSION}")
  target_link_options(${target} PRIVATE
    "LINKER:--version-script=${ORLO_EXPORTS_MAP}"
    "LINKER:-Bsymbolic-functions"
    "LINKER:--no-undefined")
endfunction()

# orlo_link_needed(<target> <library>)
# Links <library> and keeps its NEEDED entry even when <target> does not
# (yet) call it: the system links with --as-needed.
function(orlo_link_needed target library)
  target_link_libraries(${target} PRIVATE
    "-Wl,--push-state,--no-as-needed" ${library} "-Wl,--pop-state")
endfunction()

# orlo_add_gtests(<prefix> <glob> LIBRARIES <lib>... [DEFINITIONS <def>...])
# One GoogleTest executable and CTest test per source matching <glob> in the
# current source folder, named <prefix><source name> (target names are
# project-wide: libdorne/tests/test_hash.cpp becomes dorne_test_hash).
# Sets ORLO_ADDED_TESTS in the caller to the names made.
function(orlo_add_gtests prefix pattern)
  cmake_parse_arguments(T "" "" "LIBRARIES;DEFINITIONS" ${ARGN})
  find_package(GTest REQUIRED)
  find_package(Threads REQUIRED)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${pattern}")
  set(made "")
  foreach(src IN LISTS sources)
    get_filename_component(base "${src}" NAME_WE)
    set(name "${prefix}${base}")
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gtest_main Threads::Threads)
    target_compile_definitions(${name} PRIVATE ${T_DEFINITIONS})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY "${CMAKE_BINARY_DIR}")
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ORLO_TEST_ENV}" TIMEOUT 600)
    list(APPEND made ${name})
  endforeach()
  set(ORLO_ADDED_TESTS "${made}" PARENT_SCOPE)
endfunction()

# orlo_add_gl_gtests(<prefix> <glob> LIBRARIES <lib>... [DEFINITIONS <def>...])
# As orlo_add_gtests, for tests that draw: each program also links the
# offscreen context of testsupport/gl (orloGlContext.h, orloGlTest.h). Such a
# test fails when no context can be made; the context needs no display.
function(orlo_add_gl_gtests prefix pattern)
  cmake_parse_arguments(T "" "" "LIBRARIES;DEFINITIONS" ${ARGN})
  orlo_add_gtests(${prefix} ${pattern} LIBRARIES ${T_LIBRARIES} orlo_gltest DEFINITIONS ${T_DEFINITIONS})
  set(ORLO_ADDED_TESTS "${ORLO_ADDED_TESTS}" PARENT_SCOPE)
endfunction()

# orlo_add_benchmarks(<prefix> <glob> LIBRARIES <lib>...)
# One Google Benchmark program per source matching <glob> in the current
# source folder, named <prefix><source name> and placed in the build folder;
# each links the offscreen context of testsupport/gl (orloGlContext.h) for
# benchmarks that draw. Not run by CTest. Nothing is built without Google
# Benchmark.
function(orlo_add_benchmarks prefix pattern)
  cmake_parse_arguments(B "" "" "LIBRARIES" ${ARGN})
  find_package(benchmark QUIET)
  if(NOT TARGET benchmark::benchmark)
    message(STATUS "Google Benchmark not found: no ${prefix} benchmarks")
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${pattern}")
  foreach(src IN LISTS sources)
    get_filename_component(base "${src}" NAME_WE)
    add_executable(${prefix}${base} ${src})
    target_link_libraries(${prefix}${base} PRIVATE ${B_LIBRARIES} orlo_gltest
      benchmark::benchmark benchmark::benchmark_main)
    set_target_properties(${prefix}${base} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
  endforeach()
endfunction()
