# The test package_install: installs the packaging sub-build into
# <OUT>/prefix (emptied first) and checks that prefix (PackageChecks.cmake).
#   cmake -DPACKAGE_BUILD=<build>/package -DOUT=<build>/package-test ... -P CheckPackageInstall.cmake
include("${CMAKE_CURRENT_LIST_DIR}/PackageChecks.cmake")

set(prefix "${OUT}/prefix")
file(REMOVE_RECURSE "${prefix}")
run(${CMAKE_COMMAND} --install "${PACKAGE_BUILD}" --prefix "${prefix}")
message("${run_output}")
load_cache("${PACKAGE_BUILD}" READ_WITH_PREFIX PACKAGE_ CMAKE_INSTALL_LIBDIR)
check_prefix("${prefix}" "${PACKAGE_CMAKE_INSTALL_LIBDIR}")
