# Checks of an installed prefix of the two libraries, shared by
# CheckPackageInstall.cmake (cmake --install) and CheckPackageDeb.cmake (the
# Debian packages unpacked). Reads ROOT (the checkout), MAIN_BUILD and
# PACKAGE_BUILD (the build folders), OUT, VERSION, READELF and NM. A failed
# check reports with SEND_ERROR and the script goes
# on, so that one run shows every fault; cmake then exits non-zero.
cmake_minimum_required(VERSION 3.16)
foreach(v ROOT MAIN_BUILD PACKAGE_BUILD OUT VERSION READELF NM)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "${v} not given")
  endif()
endforeach()
string(REGEX MATCH "^[0-9]+" SOVERSION "${VERSION}")
set(NAME_CAMEL_dorne Dorne)
set(NAME_CAMEL_sarto Sarto)

# run(<command>...): runs it, stops the check when it fails; its output in
# run_output.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " cmd "${ARGN}")
    message(FATAL_ERROR "failed (${rc}): ${cmd}\n${out}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

# expect_link(<path> <target>): <path> is a symbolic link to <target>.
function(expect_link path target)
  if(NOT IS_SYMLINK "${path}")
    message(SEND_ERROR "${path}: not a symbolic link")
    return()
  endif()
  file(READ_SYMLINK "${path}" to)
  if(NOT to STREQUAL target)
    message(SEND_ERROR "${path} -> ${to}, not ${target}")
  endif()
endfunction()

# expect_mode(<path> <octal mode>)
function(expect_mode path mode)
  run(stat -c %a "${path}")
  string(STRIP "${run_output}" m)
  if(NOT m STREQUAL mode)
    message(SEND_ERROR "${path}: mode ${m}, not ${mode}")
  endif()
endfunction()

# check_prefix(<prefix> <libdir relative to it>)
# The files of both libraries, their exports and linkage, no build or
# checkout path in any file, and the pkg-config and CMake files working from
# a copy of the prefix in another place.
# expect_files(<folder> <expected list> <message level> <what>)
# The files in <folder> are exactly the names of <expected list>, in any order.
function(expect_files folder expected level what)
  file(GLOB found RELATIVE "${folder}" "${folder}/*")
  list(SORT found)
  list(SORT expected)
  if(NOT found STREQUAL expected)
    message(${level} "${what}: ${found}, not ${expected}")
  endif()
endfunction()

function(check_prefix prefix libdir)
  message("---- checking the prefix ${prefix} (libdir ${libdir})")
  set(lib "${prefix}/${libdir}")
  foreach(name dorne sarto)
    string(TOUPPER "${name}" NAME)
    set(file "${lib}/lib${name}.so.${VERSION}")
    if(NOT EXISTS "${file}" OR IS_SYMLINK "${file}")
      message(SEND_ERROR "${file}: missing or not a file")
      continue()
    endif()
    expect_mode("${file}" 644)
    expect_link("${lib}/lib${name}.so.${SOVERSION}" "lib${name}.so.${VERSION}")
    expect_link("${lib}/lib${name}.so" "lib${name}.so.${SOVERSION}")

    # The headers: exactly those of the checkout, as they are.
    file(GLOB source_headers RELATIVE "${ROOT}/lib${name}/inc" "${ROOT}/lib${name}/inc/*.h")
    expect_files("${prefix}/include/${name}" "${source_headers}" SEND_ERROR "include/${name}")
    file(GLOB installed_headers RELATIVE "${prefix}/include/${name}" "${prefix}/include/${name}/*")
    foreach(h IN LISTS installed_headers)
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${ROOT}/lib${name}/inc/${h}"
                              "${prefix}/include/${name}/${h}" RESULT_VARIABLE differ)
      if(differ)
        message(SEND_ERROR "include/${name}/${h} differs from lib${name}/inc/${h}")
      endif()
    endforeach()

    foreach(f "${lib}/pkgconfig/${name}.pc" "${lib}/cmake/${NAME_CAMEL_${name}}/${NAME_CAMEL_${name}}Config.cmake")
      if(NOT EXISTS "${f}")
        message(SEND_ERROR "${f} missing")
      endif()
    endforeach()

    # The names the installed library exports are those its installed
    # headers declare.
    set(facade "")
    if(name STREQUAL "dorne")
      set(facade -DFACADE=${prefix}/include/dorne/NalvoView.h -DFACADE_CLASS=Nalvo2D::NalvoView)
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -DLIBRARY=${file} -DHEADERS=${prefix}/include/${name}
                            "-DMACROS=${NAME}_API;${NAME}_DATA" -DNM=${NM} ${facade}
                            -P "${ROOT}/cmake/CheckExports.cmake"
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    string(REGEX MATCH "[^\n]*exported names[^\n]*" summary "${out}")
    message("exports of lib${name}: ${summary}")
    if(NOT rc EQUAL 0)
      message(SEND_ERROR "export check of ${file} failed:\n${out}")
    endif()
  endforeach()

  execute_process(COMMAND ${CMAKE_COMMAND} -DREADELF=${READELF} -DDORNE=${lib}/libdorne.so.${VERSION}
                          -DSARTO=${lib}/libsarto.so.${VERSION} -DSOVERSION=${SOVERSION}
                          -P "${ROOT}/cmake/CheckLinkage.cmake"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "linkage check of the installed libraries failed:\n${out}")
  else()
    message("linkage of the installed libraries: as expected")
  endif()

  # No file (text or binary) names the checkout or a build folder.
  file(GLOB_RECURSE files LIST_DIRECTORIES false "${prefix}/*")
  set(n 0)
  foreach(f IN LISTS files)
    if(IS_SYMLINK "${f}")
      continue()
    endif()
    math(EXPR n "${n} + 1")
    if(f MATCHES "\\.gz$")
      continue()
    endif()
    file(STRINGS "${f}" lines)
    foreach(p "${ROOT}" "${MAIN_BUILD}" "${PACKAGE_BUILD}")
      string(FIND "${lines}" "${p}" at)
      if(NOT at EQUAL -1)
        file(RELATIVE_PATH rel "${prefix}" "${f}")
        message(SEND_ERROR "${rel} names ${p}")
      endif()
    endforeach()
  endforeach()
  message("${n} installed files name no folder of the checkout or the build")
endfunction()
