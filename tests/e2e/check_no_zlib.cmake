# Checks that the restore tool carries no zlib: zlib's inflate and deflate embed their version
# banners, which survive stripping, so their absence shows that no zlib code was linked. The
# patcher, which does link zlib, is probed the same way so that the probe itself is proven.
#   cmake -DWITHOUT=restore.exe -DWITH=qlmksfx.exe -P check_no_zlib.cmake
cmake_minimum_required(VERSION 3.25)

set(banner_regex "(in|de)flate [0-9]+\\.[0-9]+[.0-9]* Copyright")

foreach(file "${WITHOUT}" "${WITH}")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "${file}: missing (build the win32 preset first)")
  endif()
endforeach()

file(STRINGS "${WITHOUT}" found REGEX "${banner_regex}")
if(found)
  message(FATAL_ERROR "${WITHOUT} contains zlib: ${found}")
endif()
file(STRINGS "${WITH}" found REGEX "${banner_regex}")
if(NOT found)
  message(FATAL_ERROR "the zlib probe finds nothing in ${WITH}, which links zlib")
endif()
message(STATUS "${WITHOUT}: no zlib")
