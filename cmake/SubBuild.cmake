# A build of its own beside the main one (the ThreadSanitizer tests, the
# allocation-failure sweep, the packaged libraries): the project in source,
# built into binary with this build's compilers (and compiler launchers) on
# every build of the main one. Further arguments are passed to its
# configuration (they may override the build type Debug).
include(ExternalProject)
function(orlo_sub_build name source binary)
  set(launchers "")
  foreach(lang C CXX)
    if(CMAKE_${lang}_COMPILER_LAUNCHER)
      list(APPEND launchers "-DCMAKE_${lang}_COMPILER_LAUNCHER=${CMAKE_${lang}_COMPILER_LAUNCHER}")
    endif()
  endforeach()
  ExternalProject_Add(${name}
    SOURCE_DIR "${source}"
    BINARY_DIR "${binary}"
    CMAKE_ARGS -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
               ${launchers} -DCMAKE_BUILD_TYPE=Debug -DORLO_ROOT=${PROJECT_SOURCE_DIR} ${ARGN}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD OFF)
endfunction()
