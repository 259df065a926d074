# The shipped translations as resources/language/languages.txt lists them, for the build rules
# that write the language files and the tests that check them.
#
# qm_read_language_list(<prefix>) sets <prefix>_CODES and, per code, <prefix>_<code>_CODEPAGE
# and <prefix>_<code>_REGIONS.
function(qm_read_language_list prefix)
  set(list_file ${PROJECT_SOURCE_DIR}/resources/language/languages.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  file(STRINGS ${list_file} lines ENCODING UTF-8)
  set(codes)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
    list(POP_FRONT fields code page)
    if(NOT code MATCHES "^[A-Z][A-Z][A-Z]$" OR NOT page MATCHES "^125[012]$")
      message(FATAL_ERROR "${list_file}: not a language line: ${line}")
    endif()
    list(APPEND codes ${code})
    set(${prefix}_${code}_CODEPAGE ${page} PARENT_SCOPE)
    set(${prefix}_${code}_REGIONS ${fields} PARENT_SCOPE)
  endforeach()
  set(${prefix}_CODES ${codes} PARENT_SCOPE)
endfunction()
