# The test package_deb: packs the packaging sub-build with `cpack -G DEB`
# into <OUT>/deb, runs lintian over the four packages (no error allowed),
# checks their dependencies, control files and contents, and unpacks them
# with dpkg-deb -x into <OUT>/debroot, whose usr/ is then checked as a
# prefix (PackageChecks.cmake). Nothing is installed on the machine.
#   cmake -DPACKAGE_BUILD=<build>/package -DOUT=<build>/package-test -DCPACK=<cpack>
#         -DLINTIAN=<lintian> -DDPKG_DEB=<dpkg-deb> ... -P CheckPackageDeb.cmake
include("${CMAKE_CURRENT_LIST_DIR}/PackageChecks.cmake")
foreach(v CPACK LINTIAN DPKG_DEB)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "${v} not given")
  endif()
endforeach()

set(deb_dir "${OUT}/deb")
set(root "${OUT}/debroot")
file(REMOVE_RECURSE "${deb_dir}" "${root}")
file(MAKE_DIRECTORY "${deb_dir}" "${root}")
run("${CPACK}" -G DEB -B "${deb_dir}" --config "${PACKAGE_BUILD}/CPackConfig.cmake")
file(REMOVE_RECURSE "${deb_dir}/_CPack_Packages")

run("${DPKG_DEB}" --version)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb_version "${VERSION}-1")
set(runtime_sarto "libsarto${SOVERSION}")
set(runtime_dorne "libdorne${SOVERSION}")
set(packages ${runtime_sarto} libsarto-dev ${runtime_dorne} libdorne-dev)
set(expected_files "")
foreach(p IN LISTS packages)
  list(APPEND expected_files "${p}_${deb_version}_${arch}.deb")
endforeach()
expect_files("${deb_dir}" "${expected_files}" FATAL_ERROR "cpack made")

# lintian, once over all four (it is the slow part): any error fails.
set(debs "")
foreach(p IN LISTS packages)
  list(APPEND debs "${deb_dir}/${p}_${deb_version}_${arch}.deb")
endforeach()
execute_process(COMMAND "${LINTIAN}" --fail-on error --tag-display-limit 0 ${debs}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("lintian:\n${out}")
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)E: ")
  message(SEND_ERROR "lintian reports errors (exit ${rc})")
endif()

# field(<deb> <field> <out>)
function(field deb name out)
  run("${DPKG_DEB}" -f "${deb}" "${name}")
  string(STRIP "${run_output}" value)
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# expect_depends(<package> <regex>...): its Depends match every regex.
function(expect_depends package)
  field("${deb_dir}/${package}_${deb_version}_${arch}.deb" Depends depends)
  message("${package}: Depends: ${depends}")
  foreach(pattern IN LISTS ARGN)
    if(NOT depends MATCHES "${pattern}")
      message(SEND_ERROR "${package}: Depends lacks ${pattern}")
    endif()
  endforeach()
endfunction()

string(REPLACE "." "\\." v "${deb_version}")
# dpkg-shlibdeps named the system's libraries (libc6 for all, FreeType for
# libsarto, TinyXML and zlib for libdorne); libdorne needs libsarto of at
# least its release; each -dev its runtime of exactly its version.
expect_depends(${runtime_sarto} "libc6 \\(>=" "libfreetype6" "libstdc\\+\\+6")
expect_depends(${runtime_dorne} "libc6 \\(>=" "libtinyxml2\\.6\\.2" "zlib1g"
  "${runtime_sarto} \\(>= ${v}\\)")
expect_depends(libsarto-dev "(^|, )${runtime_sarto} \\(= ${v}\\)" "libfreetype-dev")
expect_depends(libdorne-dev "(^|, )${runtime_dorne} \\(= ${v}\\)" "libsarto-dev \\(= ${v}\\)"
  "libtinyxml-dev" "zlib1g-dev")

# The runtime packages declare their libraries (shlibs) for the packages
# built against them.
foreach(lib sarto dorne)
  set(deb "${deb_dir}/${runtime_${lib}}_${deb_version}_${arch}.deb")
  run("${DPKG_DEB}" -I "${deb}" shlibs)
  string(STRIP "${run_output}" shlibs)
  if(NOT shlibs STREQUAL "lib${lib} ${SOVERSION} ${runtime_${lib}} (>= ${deb_version})")
    message(SEND_ERROR "${runtime_${lib}}: shlibs is '${shlibs}'")
  endif()
endforeach()

# Contents: the runtime packages hold the library and its SONAME link, the
# -dev packages the development link, headers, pkg-config and CMake files;
# each its copyright and changelog.
load_cache("${PACKAGE_BUILD}" READ_WITH_PREFIX PACKAGE_ CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_PREFIX)
file(RELATIVE_PATH libdir "/usr" "${PACKAGE_CMAKE_INSTALL_PREFIX}/${PACKAGE_CMAKE_INSTALL_LIBDIR}")
foreach(p IN LISTS packages)
  set(deb "${deb_dir}/${p}_${deb_version}_${arch}.deb")
  run("${DPKG_DEB}" -c "${deb}")
  set(listing "${run_output}")
  string(REGEX REPLACE "\n$" "" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(paths "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[-l]")
      string(REGEX REPLACE "^.* \\./" "" path "${line}")
      string(REGEX REPLACE " -> .*$" "" path "${path}")
      list(APPEND paths "${path}")
    endif()
  endforeach()
  string(REGEX REPLACE "^lib([a-z]+).*$" "\\1" lib "${p}")
  set(want "usr/share/doc/${p}/copyright" "usr/share/doc/${p}/changelog.Debian.gz")
  if(p MATCHES "-dev$")
    list(APPEND want "usr/${libdir}/lib${lib}.so" "usr/${libdir}/pkgconfig/${lib}.pc")
    file(GLOB headers RELATIVE "${ROOT}/lib${lib}/inc" "${ROOT}/lib${lib}/inc/*.h")
    foreach(h IN LISTS headers)
      list(APPEND want "usr/include/${lib}/${h}")
    endforeach()
    set(extra "^usr/${libdir}/cmake/${NAME_CAMEL_${lib}}/${NAME_CAMEL_${lib}}[A-Za-z-]*\\.cmake$")
  else()
    list(APPEND want "usr/${libdir}/lib${lib}.so.${VERSION}" "usr/${libdir}/lib${lib}.so.${SOVERSION}")
    set(extra "^$")
  endif()
  foreach(w IN LISTS want)
    if(NOT w IN_LIST paths)
      message(SEND_ERROR "${p}: ${w} missing")
    endif()
  endforeach()
  set(n_cmake 0)
  foreach(path IN LISTS paths)
    if(path MATCHES "${extra}")
      math(EXPR n_cmake "${n_cmake} + 1")
    elseif(NOT path IN_LIST want)
      message(SEND_ERROR "${p}: ${path} does not belong there")
    endif()
  endforeach()
  if(p MATCHES "-dev$" AND n_cmake LESS 4)
    message(SEND_ERROR "${p}: ${n_cmake} CMake package files, expected config, version and targets")
  endif()
  file(SIZE "${deb}" size)
  list(LENGTH paths n)
  message("${p}: ${n} files, ${size} bytes")
  run("${DPKG_DEB}" -x "${deb}" "${root}")
endforeach()

# The unpacked packages are a prefix like any other.
check_prefix("${root}/usr" "${libdir}")
