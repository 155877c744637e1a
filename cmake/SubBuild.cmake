# A build of its own beside the main one (the ThreadSanitizer tests, the
# allocation-failure sweep): the project in source, built into binary with
# this build's compilers on every build of the main one. Further arguments
# are passed to its configuration.
include(ExternalProject)
function(orlo_sub_build name source binary)
  ExternalProject_Add(${name}
    SOURCE_DIR "${source}"
    BINARY_DIR "${binary}"
    CMAKE_ARGS -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
               -DCMAKE_BUILD_TYPE=Debug -DORLO_ROOT=${PROJECT_SOURCE_DIR} ${ARGN}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD OFF)
endfunction()
