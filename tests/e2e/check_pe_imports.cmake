# Checks that Windows programs are 32-bit PE files of the right subsystem that import system
# DLLs only, so they run with nothing beside them (no MinGW runtime, libstdc++, winpthread or
# zlib DLLs).
#   cmake -DOBJDUMP=i686-w64-mingw32-objdump -DGUI_PROGRAMS=a.exe|b.exe -DCONSOLE_PROGRAMS=c.exe
#         -P check_pe_imports.cmake
cmake_minimum_required(VERSION 3.25)

set(system_dlls
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msimg32.dll msvcrt.dll
  ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll
  winmm.dll wininet.dll ws2_32.dll)

if(NOT OBJDUMP)
  message(FATAL_ERROR "i686-w64-mingw32-objdump not found; run scripts/install-deps.sh")
endif()

set(failures "")
macro(check_program file subsystem_code subsystem_name)
  if(NOT EXISTS "${file}")
    list(APPEND failures "${file}: missing (build the win32 preset first)")
  else()
    execute_process(COMMAND ${OBJDUMP} -p "${file}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      list(APPEND failures "${file}: objdump failed")
    else()
      if(NOT dump MATCHES "file format pei-i386" OR NOT dump MATCHES "Magic[\t ]+010b")
        list(APPEND failures "${file}: not a 32-bit PE32 file")
      endif()
      if(NOT dump MATCHES "Subsystem[\t ]+0000000${subsystem_code}")
        list(APPEND failures "${file}: not a ${subsystem_name} program")
      endif()
      string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
      set(names "")
      foreach(line ${imports})
        string(REPLACE "DLL Name: " "" dll "${line}")
        string(STRIP "${dll}" dll)
        string(TOLOWER "${dll}" dll_lower)
        list(APPEND names ${dll})
        if(NOT dll_lower IN_LIST system_dlls)
          list(APPEND failures "${file}: imports ${dll}")
        endif()
      endforeach()
      list(JOIN names ", " names)
      message(STATUS "${file}: ${subsystem_name}, imports ${names}")
    endif()
  endif()
endmacro()

string(REPLACE "|" ";" gui "${GUI_PROGRAMS}")
string(REPLACE "|" ";" console "${CONSOLE_PROGRAMS}")
foreach(file ${gui})
  check_program("${file}" 2 "Windows GUI")
endforeach()
foreach(file ${console})
  check_program("${file}" 3 "Windows console")
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "PE check failed:\n  ${text}")
endif()
