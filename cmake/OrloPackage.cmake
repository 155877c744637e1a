# The libraries as a user gets them: the sub-build in cmake/package (Release,
# no sanitizers, prefix /usr) is built into <build>/package on every build,
# and two tests take it from outside into <build>/package-test:
# - package_install: `cmake --install` into package-test/prefix, then the
#   export and link checks on the installed libraries and headers, no path of
#   the checkout or the build in the installed files (the examples' tests,
#   testsupport/examples, build against copies of the prefix elsewhere);
# - package_deb: `cpack -G DEB` into package-test/deb, lintian on the four
#   packages, their dependencies and contents, and the packages unpacked with
#   dpkg-deb -x into package-test/debroot (its usr/ is a prefix).
# Tests that build against the prefix or the unpacked packages require the
# fixtures orlo_package_prefix or orlo_package_deb.
option(ORLO_PACKAGE_TESTS "Build the libraries as packaged and test their install and Debian packages" ON)
if(NOT ORLO_PACKAGE_TESTS)
  return()
endif()

include("${PROJECT_SOURCE_DIR}/cmake/SubBuild.cmake")
set(ORLO_PACKAGE_BIN "${CMAKE_BINARY_DIR}/package")
set(ORLO_PACKAGE_TEST "${CMAKE_BINARY_DIR}/package-test")
orlo_sub_build(orlo_package "${PROJECT_SOURCE_DIR}/cmake/package" "${ORLO_PACKAGE_BIN}"
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr)

find_program(ORLO_READELF NAMES readelf REQUIRED)
set(check_args
  -DPACKAGE_BUILD=${ORLO_PACKAGE_BIN} -DOUT=${ORLO_PACKAGE_TEST} -DROOT=${PROJECT_SOURCE_DIR}
  -DMAIN_BUILD=${CMAKE_BINARY_DIR} -DVERSION=${ORLO_LIBRARY_VERSION}
  -DREADELF=${ORLO_READELF} -DNM=${CMAKE_NM})

add_test(NAME package_install
  COMMAND ${CMAKE_COMMAND} ${check_args} -P ${PROJECT_SOURCE_DIR}/cmake/CheckPackageInstall.cmake)
set_tests_properties(package_install PROPERTIES TIMEOUT 300
  ENVIRONMENT "${ORLO_TEST_ENV}" FIXTURES_SETUP orlo_package_prefix)

set(ORLO_CPACK "${CMAKE_CPACK_COMMAND}")
find_program(ORLO_LINTIAN NAMES lintian REQUIRED)
find_program(ORLO_DPKG_DEB NAMES dpkg-deb REQUIRED)
add_test(NAME package_deb
  COMMAND ${CMAKE_COMMAND} ${check_args} -DCPACK=${ORLO_CPACK} -DLINTIAN=${ORLO_LINTIAN}
          -DDPKG_DEB=${ORLO_DPKG_DEB} -P ${PROJECT_SOURCE_DIR}/cmake/CheckPackageDeb.cmake)
set_tests_properties(package_deb PROPERTIES TIMEOUT 300
  ENVIRONMENT "${ORLO_TEST_ENV}" FIXTURES_SETUP orlo_package_deb)
