# Threaded tests under ThreadSanitizer: every tsan_*.cpp in libdorne/tests,
# libsarto/tests and orlo/tests is built by the sub-build in cmake/tsan
# (into <build>/tsan) and run here as the CTest test <lib>_<name>.
option(ORLO_TSAN "Build and run the threaded tests under ThreadSanitizer" ON)

set(ORLO_TSAN_TESTS "")
foreach(lib sarto dorne orlo)
  set(dir "${PROJECT_SOURCE_DIR}/lib${lib}/tests")
  if(lib STREQUAL "orlo")
    set(dir "${PROJECT_SOURCE_DIR}/orlo/tests")
  endif()
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/tsan_*.cpp")
  foreach(src IN LISTS sources)
    get_filename_component(base "${src}" NAME_WE)
    list(APPEND ORLO_TSAN_TESTS ${lib}_${base})
  endforeach()
endforeach()

if(ORLO_TSAN AND ORLO_TSAN_TESTS)
  include("${PROJECT_SOURCE_DIR}/cmake/SubBuild.cmake")
  set(ORLO_TSAN_BIN "${CMAKE_BINARY_DIR}/tsan")
  orlo_sub_build(orlo_tsan "${PROJECT_SOURCE_DIR}/cmake/tsan" "${ORLO_TSAN_BIN}")
  foreach(name IN LISTS ORLO_TSAN_TESTS)
    add_test(NAME ${name} COMMAND "${ORLO_TSAN_BIN}/${name}" WORKING_DIRECTORY "${ORLO_TSAN_BIN}")
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS timing
      ENVIRONMENT "TZ=UTC;LC_ALL=C.UTF-8;TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1")
  endforeach()
endif()
