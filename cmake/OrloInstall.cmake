# Install rules, pkg-config files, CMake packages and Debian packages of the
# two libraries. Included after libsarto and libdorne by the top-level
# project and by the packaging sub-build (package/), so that both install the
# same tree. The application is not installed: it runs as a bundle from the
# build folder.
#
#   cmake --install <build> --prefix <p>
#     <p>/<libdir>/libdorne.so.1.x.y, libdorne.so.1, libdorne.so (same for sarto)
#     <p>/include/dorne/*.h, <p>/include/sarto/*.h
#     <p>/<libdir>/pkgconfig/dorne.pc, sarto.pc
#     <p>/<libdir>/cmake/Dorne/, <p>/<libdir>/cmake/Sarto/
#   cpack -G DEB   (in the build folder)
#     libsarto1, libsarto-dev, libdorne1, libdorne-dev
#
# Headers: a folder per library (include/dorne, include/sarto) named by the
# pkg-config Cflags and the CMake targets, as FreeType does (include/freetype2).
# Programs write #include <dorneView.h>, the same line as inside the project;
# the headers' quoted includes find their siblings in their own folder, and
# dornePlatform.h finds sartoPlatform.h through libsarto's include folder,
# which dorne.pc (Requires: sarto) and Dorne::dorne (linking Sarto::sarto)
# bring along. A flat include/ would put generic names such as NalvoView.h
# and the families' headers among every other package's; a prefixed
# <dorne/dorneView.h> would need the headers' own includes rewritten.
#
# The installed files name no folder of the source or build tree: the
# libraries carry only the run path $ORIGIN (their sibling), the .pc files
# find their prefix from their own place (${pcfiledir}) and the CMake files
# from theirs, so that a copied or unpacked prefix works as it is.

include(CMakePackageConfigHelpers)
get_filename_component(ORLO_ROOT_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(ORLO_INSTALL_FILES "${CMAKE_CURRENT_LIST_DIR}/install")

# Directories the packages create: 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The .pc files' way from <libdir>/pkgconfig back to the prefix.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  message(FATAL_ERROR "CMAKE_INSTALL_LIBDIR must be relative to the prefix: the installed "
                      "pkg-config and CMake files find the prefix from their own place")
endif()
file(RELATIVE_PATH ORLO_PC_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/+$" "" ORLO_PC_PREFIX "${ORLO_PC_PREFIX}")
set(ORLO_PC_DL "")
foreach(lib IN LISTS CMAKE_DL_LIBS)
  string(APPEND ORLO_PC_DL " -l${lib}")
endforeach()
string(STRIP "${ORLO_PC_DL}" ORLO_PC_DL)

# orlo_install_library(<target> <Package> <header folder>)
# lib<target> (component <target>_runtime: the versioned file and its SONAME
# link) and its development files (component <target>_dev: the link
# lib<target>.so, the headers, <target>.pc and the CMake package <Package>
# with the imported target <Package>::<target>).
function(orlo_install_library target package headers)
  install(TARGETS ${target} EXPORT ${package}Targets
    LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
            PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
            COMPONENT ${target}_runtime
            NAMELINK_COMPONENT ${target}_dev)
  file(GLOB header_files CONFIGURE_DEPENDS "${headers}/*.h")
  install(FILES ${header_files} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/${target}"
    COMPONENT ${target}_dev)

  configure_file("${ORLO_INSTALL_FILES}/${target}.pc.in" "${CMAKE_BINARY_DIR}/install/${target}.pc" @ONLY)
  install(FILES "${CMAKE_BINARY_DIR}/install/${target}.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT ${target}_dev)

  set(cmake_dir "${CMAKE_INSTALL_LIBDIR}/cmake/${package}")
  install(EXPORT ${package}Targets NAMESPACE ${package}:: DESTINATION "${cmake_dir}"
    COMPONENT ${target}_dev)
  configure_package_config_file("${ORLO_INSTALL_FILES}/${package}Config.cmake.in"
    "${CMAKE_BINARY_DIR}/install/${package}Config.cmake"
    INSTALL_DESTINATION "${cmake_dir}" NO_SET_AND_CHECK_MACRO)
  write_basic_package_version_file("${CMAKE_BINARY_DIR}/install/${package}ConfigVersion.cmake"
    VERSION "${ORLO_LIBRARY_VERSION}" COMPATIBILITY SameMajorVersion)
  install(FILES "${CMAKE_BINARY_DIR}/install/${package}Config.cmake"
                "${CMAKE_BINARY_DIR}/install/${package}ConfigVersion.cmake"
    DESTINATION "${cmake_dir}" COMPONENT ${target}_dev)
endfunction()

orlo_install_library(sarto Sarto "${ORLO_ROOT_DIR}/libsarto/inc")
orlo_install_library(dorne Dorne "${ORLO_ROOT_DIR}/libdorne/inc")

# ---- Debian packages --------------------------------------------------------
# Each package's /usr/share/doc/<package> holds the copyright and the
# Debian changelog. Only the packages carry them (EXCLUDE_FROM_ALL keeps them
# out of a plain install, cpack installs its components by name).
set(ORLO_DEB_RELEASE 1)
set(ORLO_DEB_DOC "${CMAKE_BINARY_DIR}/install/debian")
file(MAKE_DIRECTORY "${ORLO_DEB_DOC}")
# The changelog's latest entry names the version the packages carry.
file(STRINGS "${ORLO_INSTALL_FILES}/changelog" changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^orlo \\(${ORLO_LIBRARY_VERSION}-${ORLO_DEB_RELEASE}\\) ")
  message(FATAL_ERROR "cmake/install/changelog: the latest entry is not "
                      "${ORLO_LIBRARY_VERSION}-${ORLO_DEB_RELEASE}: '${changelog_top}'")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ORLO_INSTALL_FILES}/changelog")
find_program(ORLO_GZIP gzip REQUIRED)
execute_process(COMMAND "${ORLO_GZIP}" -9 -n -c "${ORLO_INSTALL_FILES}/changelog"
  OUTPUT_FILE "${ORLO_DEB_DOC}/changelog.Debian.gz" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on cmake/install/changelog")
endif()

set(ORLO_DEB_COMPONENTS "")
foreach(lib sarto dorne)
  foreach(kind runtime dev)
    if(kind STREQUAL "runtime")
      set(name "lib${lib}${ORLO_LIBRARY_SOVERSION}")
    else()
      set(name "lib${lib}-dev")
    endif()
    string(TOUPPER "${lib}_${kind}" c)
    set(CPACK_DEBIAN_${c}_PACKAGE_NAME "${name}")
    list(APPEND ORLO_DEB_COMPONENTS ${lib}_${kind})
    install(FILES "${ORLO_INSTALL_FILES}/copyright" "${ORLO_DEB_DOC}/changelog.Debian.gz"
      DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${name}"
      PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
      COMPONENT ${lib}_${kind} EXCLUDE_FROM_ALL)
  endforeach()
endforeach()

set(CPACK_PACKAGE_NAME "orlo")
set(CPACK_PACKAGE_VENDOR "ORLO developers")
set(CPACK_PACKAGE_CONTACT "ORLO developers <dev@orlo.invalid>")
set(CPACK_PACKAGE_VERSION "${ORLO_LIBRARY_VERSION}")
set(CPACK_GENERATOR "DEB")
set(CPACK_COMPONENTS_ALL ${ORLO_DEB_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${ORLO_DEB_RELEASE}")
set(CPACK_DEBIAN_PACKAGE_SOURCE "orlo")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
get_target_property(ORLO_DEB_LIBRARY_DIR sarto LIBRARY_OUTPUT_DIRECTORY)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${ORLO_DEB_LIBRARY_DIR}")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(ORLO_DEB_VERSION "${ORLO_LIBRARY_VERSION}-${ORLO_DEB_RELEASE}")

# The runtime packages let dpkg run ldconfig through its trigger.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_SARTO_RUNTIME_PACKAGE_CONTROL_EXTRA "${ORLO_INSTALL_FILES}/triggers")
set(CPACK_DEBIAN_DORNE_RUNTIME_PACKAGE_CONTROL_EXTRA "${ORLO_INSTALL_FILES}/triggers")
set(CPACK_DEBIAN_SARTO_RUNTIME_PACKAGE_SECTION "libs")
set(CPACK_DEBIAN_DORNE_RUNTIME_PACKAGE_SECTION "libs")
set(CPACK_DEBIAN_SARTO_DEV_PACKAGE_SECTION "libdevel")
set(CPACK_DEBIAN_DORNE_DEV_PACKAGE_SECTION "libdevel")
# dpkg-shlibdeps finds the system's libraries; libsarto is built here (it
# finds the file in the build's library folder, but no package names it
# yet), so libdorne's runtime names it itself: at least this release, as
# libsarto's shlibs file says. Each -dev package needs its runtime of the
# same version and what its pkg-config file requires (pkg-config reads
# Requires.private for --cflags too).
set(CPACK_DEBIAN_DORNE_RUNTIME_PACKAGE_DEPENDS
  "libsarto${ORLO_LIBRARY_SOVERSION} (>= ${ORLO_DEB_VERSION})")
set(CPACK_DEBIAN_SARTO_DEV_PACKAGE_DEPENDS
  "libsarto${ORLO_LIBRARY_SOVERSION} (= ${ORLO_DEB_VERSION}), libfreetype-dev, libopengl-dev, libglu1-mesa-dev | libglu-dev")
set(CPACK_DEBIAN_DORNE_DEV_PACKAGE_DEPENDS
  "libdorne${ORLO_LIBRARY_SOVERSION} (= ${ORLO_DEB_VERSION}), libsarto-dev (= ${ORLO_DEB_VERSION}), libopengl-dev, libglu1-mesa-dev | libglu-dev, zlib1g-dev, libtinyxml-dev")

set(CPACK_DEBIAN_SARTO_RUNTIME_DESCRIPTION "ORLO font library for OpenGL
libsarto keeps a catalogue of font families, styles and sizes from built-in
font data and font folders, and draws text into OpenGL through FreeType.

This package holds the shared library.")
set(CPACK_DEBIAN_SARTO_DEV_DESCRIPTION "ORLO font library for OpenGL - development files
libsarto keeps a catalogue of font families, styles and sizes from built-in
font data and font folders, and draws text into OpenGL through FreeType.

This package holds the C headers, the pkg-config file (sarto) and the CMake
package (Sarto::sarto).")
set(CPACK_DEBIAN_DORNE_RUNTIME_DESCRIPTION "ORLO 2D instrument view engine for OpenGL
libdorne loads instrument views from view files and animates them from live
data sources (test signals, shared memory, UDP datagrams, a calculator or
modules loaded at run time), drawing them with OpenGL.

This package holds the shared library.")
set(CPACK_DEBIAN_DORNE_DEV_DESCRIPTION "ORLO 2D instrument view engine for OpenGL - development files
libdorne loads instrument views from view files and animates them from live
data sources (test signals, shared memory, UDP datagrams, a calculator or
modules loaded at run time), drawing them with OpenGL.

This package holds the C headers, the C++ class header, the pkg-config file
(dorne) and the CMake package (Dorne::dorne).")

include(CPack)
