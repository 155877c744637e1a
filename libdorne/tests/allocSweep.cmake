# Memory running out at every allocation of a call in turn, in forked
# children (sweep_allocFailure.cpp): built with the libraries in a build of
# their own without sanitizers (allocSweep/), run here as the CTest test
# dorne_sweep_allocFailure. It loads the instrument page's view files that
# this build writes into the bundle.
include("${PROJECT_SOURCE_DIR}/cmake/SubBuild.cmake")
set(DORNE_SWEEP_BIN "${CMAKE_BINARY_DIR}/allocsweep")
orlo_sub_build(dorne_allocsweep "${CMAKE_CURRENT_SOURCE_DIR}/allocSweep" "${DORNE_SWEEP_BIN}"
  -DDORNE_VIEW_FOLDER=${ORLO_BUNDLE_RES})
add_dependencies(dorne_allocsweep orlo_instrument_views)
add_test(NAME dorne_sweep_allocFailure COMMAND "${DORNE_SWEEP_BIN}/dorne_sweep_allocFailure"
  WORKING_DIRECTORY "${DORNE_SWEEP_BIN}")
# Every child binds the symbols its call reaches: bound once, before the
# children, they are not looked up again in each.
set_tests_properties(dorne_sweep_allocFailure PROPERTIES TIMEOUT 900
  ENVIRONMENT "TZ=UTC;LC_ALL=C.UTF-8;LD_BIND_NOW=1")
