# The libraries' link structure, read from the dynamic sections, in the
# bundle or installed: each library is named by its SONAME lib<name>.so.<N>,
# orlo (when given) needs libdorne, libdorne needs libsarto and TinyXML 2.6
# (not tinyxml2), libsarto needs neither, no library needs Qt, and each finds
# its siblings through run path $ORIGIN and through no other (an installed
# library names no folder of the build).
#   cmake -DREADELF=<readelf> [-DORLO=<exe>] -DDORNE=<lib> -DSARTO=<lib>
#         -DSOVERSION=<N> -P CheckLinkage.cmake
cmake_minimum_required(VERSION 3.16)
foreach(v READELF DORNE SARTO SOVERSION)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "CheckLinkage: ${v} not given")
  endif()
endforeach()

function(dynamic_section file out)
  execute_process(COMMAND "${READELF}" -d "${file}" OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${file}")
  endif()
  message("${file}:\n${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(errors "")
# expect(<name> <dynamic section> <regex> <TRUE: must match, FALSE: must not> <what>)
function(expect name text pattern present what)
  if(text MATCHES "${pattern}")
    set(found TRUE)
  else()
    set(found FALSE)
  endif()
  if(present AND NOT found)
    set(errors "${errors}${name}: ${what} missing\n" PARENT_SCOPE)
  elseif(NOT present AND found)
    set(errors "${errors}${name}: ${what} present\n" PARENT_SCOPE)
  endif()
endfunction()

# expect_only_origin(<name> <dynamic section>): no run path but $ORIGIN.
function(expect_only_origin name text)
  string(REGEX MATCHALL "R(UN)?PATH\\)[^\n]*\\[[^]\n]*\\]" paths "${text}")
  foreach(p IN LISTS paths)
    if(NOT p MATCHES "\\[\\$ORIGIN\\]$")
      set(errors "${errors}${name}: run path other than $ORIGIN: ${p}\n" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

set(so "\\.so\\.${SOVERSION}")
if(DEFINED ORLO)
  dynamic_section("${ORLO}" orlo)
  expect(orlo  "${orlo}"  "NEEDED[^\n]*\\[libdorne${so}\\]" TRUE "NEEDED libdorne.so.${SOVERSION}")
  expect(orlo  "${orlo}"  "RUNPATH[^\n]*\\[\\$ORIGIN\\]" TRUE "RUNPATH $ORIGIN")
endif()
dynamic_section("${DORNE}" dorne)
dynamic_section("${SARTO}" sarto)

expect(dorne "${dorne}" "SONAME[^\n]*\\[libdorne${so}\\]" TRUE "SONAME libdorne.so.${SOVERSION}")
expect(sarto "${sarto}" "SONAME[^\n]*\\[libsarto${so}\\]" TRUE "SONAME libsarto.so.${SOVERSION}")
expect(dorne "${dorne}" "NEEDED[^\n]*\\[libsarto${so}\\]" TRUE "NEEDED libsarto.so.${SOVERSION}")
expect(dorne "${dorne}" "RUNPATH[^\n]*\\[\\$ORIGIN\\]" TRUE "RUNPATH $ORIGIN")
expect(dorne "${dorne}" "NEEDED[^\n]*libQt" FALSE "a Qt library")
expect(dorne "${dorne}" "NEEDED[^\n]*\\[libtinyxml\\.so\\.2\\.6\\.2\\]" TRUE "NEEDED libtinyxml.so.2.6.2 (TinyXML 2.6)")
expect(dorne "${dorne}" "NEEDED[^\n]*libtinyxml2" FALSE "NEEDED tinyxml2")
expect(sarto "${sarto}" "NEEDED[^\n]*libdorne" FALSE "NEEDED libdorne")
expect(sarto "${sarto}" "NEEDED[^\n]*libQt" FALSE "a Qt library")
expect_only_origin(dorne "${dorne}")
expect_only_origin(sarto "${sarto}")
if(errors)
  message(FATAL_ERROR "${errors}")
endif()
