# The bundle's link structure, read from the dynamic sections:
#   orlo needs libdorne, libdorne needs libsarto and TinyXML 2.6 (not
#   tinyxml2), libsarto needs neither, no library needs Qt, and each finds
#   its siblings through run path $ORIGIN.
#   cmake -DREADELF=<readelf> -DORLO=<exe> -DDORNE=<lib> -DSARTO=<lib> -P CheckLinkage.cmake
cmake_minimum_required(VERSION 3.16)

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

dynamic_section("${ORLO}" orlo)
dynamic_section("${DORNE}" dorne)
dynamic_section("${SARTO}" sarto)

expect(orlo  "${orlo}"  "NEEDED[^\n]*\\[libdorne\\.so\\]" TRUE "NEEDED libdorne.so")
expect(orlo  "${orlo}"  "RUNPATH[^\n]*\\[\\$ORIGIN\\]" TRUE "RUNPATH $ORIGIN")
expect(dorne "${dorne}" "NEEDED[^\n]*\\[libsarto\\.so\\]" TRUE "NEEDED libsarto.so")
expect(dorne "${dorne}" "RUNPATH[^\n]*\\[\\$ORIGIN\\]" TRUE "RUNPATH $ORIGIN")
expect(dorne "${dorne}" "NEEDED[^\n]*libQt" FALSE "a Qt library")
expect(dorne "${dorne}" "NEEDED[^\n]*\\[libtinyxml\\.so\\.2\\.6\\.2\\]" TRUE "NEEDED libtinyxml.so.2.6.2 (TinyXML 2.6)")
expect(dorne "${dorne}" "NEEDED[^\n]*libtinyxml2" FALSE "NEEDED tinyxml2")
expect(sarto "${sarto}" "NEEDED[^\n]*libdorne" FALSE "NEEDED libdorne")
expect(sarto "${sarto}" "NEEDED[^\n]*libQt" FALSE "a Qt library")
if(errors)
  message(FATAL_ERROR "${errors}")
endif()
