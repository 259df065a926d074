# Regenerates the skin files into SCRATCH and compares every one with its committed copy under
# RESOURCES. Fails naming each file that differs or is missing, and tells how to refresh them.
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND "${GENERATOR}" --out "${SCRATCH}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "qm_skinart failed (${result})")
endif()

file(GLOB_RECURSE generated RELATIVE "${SCRATCH}" "${SCRATCH}/*")
list(LENGTH generated count)
if(count EQUAL 0)
  message(FATAL_ERROR "qm_skinart wrote nothing")
endif()

set(stale "")
foreach(name IN LISTS generated)
  if(NOT EXISTS "${RESOURCES}/${name}")
    list(APPEND stale "${name} (not committed)")
    continue()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH}/${name}" "${RESOURCES}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND stale "${name}")
  endif()
endforeach()

if(stale)
  list(JOIN stale "\n  " lines)
  message(FATAL_ERROR "Skin files out of date:\n  ${lines}\nRun `make skin` and commit the result.")
endif()
message(STATUS "${count} skin files match")
