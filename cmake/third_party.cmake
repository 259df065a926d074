# Libraries from the system that the project does not build itself: GoogleTest, the stb
# image headers and the host's picture decoders. Nothing here names a fixed system path, so another layout only needs the
# cache variables set (-DQM_GOOGLETEST_SOURCE_DIR=..., -DQM_STB_INCLUDE_DIR=...).

# The prefix the host's tools are installed under (/usr on Debian), where a cross build still
# finds host-side sources and header-only libraries.
get_filename_component(QM_HOST_PREFIX "${CMAKE_COMMAND}" DIRECTORY)
get_filename_component(QM_HOST_PREFIX "${QM_HOST_PREFIX}" DIRECTORY)

# stb (Debian's libstb-dev): header-only, the same headers in both builds, seen as system
# headers by the few targets that link qm_stb.
find_path(QM_STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(qm_stb INTERFACE)
target_include_directories(qm_stb SYSTEM INTERFACE ${QM_STB_INCLUDE_DIR})

# The picture decoders of the host build (Debian's libjpeg62-turbo-dev, libpng-dev and
# libgif-dev); the Windows build decodes through stb_image instead.
if(NOT WIN32)
  find_package(JPEG REQUIRED)
  find_package(PNG REQUIRED)
  find_package(GIF REQUIRED)
endif()

# GoogleTest: the installed package, or else its sources built with the project (Debian's
# googletest package; the win32 cross build has no GoogleTest package, so it always does this).
if(NOT QM_FUZZ)
  find_package(GTest QUIET)
  if(NOT TARGET GTest::gtest OR NOT TARGET GTest::gtest_main)
    find_path(QM_GOOGLETEST_SOURCE_DIR CMakeLists.txt HINTS ${QM_HOST_PREFIX}/src/googletest
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT QM_GOOGLETEST_SOURCE_DIR)
      message(FATAL_ERROR "GoogleTest was not found: install its package or its sources "
                          "(scripts/install-deps.sh), or set QM_GOOGLETEST_SOURCE_DIR")
    endif()
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${QM_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own sources are not held to our warning level.
    foreach(t gtest gtest_main)
      target_compile_options(${t} PRIVATE -Wno-error)
    endforeach()
  endif()
endif()
