# Toolchain for the 32-bit Windows build: Debian's MinGW-w64 i686 (posix threads variant,
# so that std::thread-free C++20 library pieces and GoogleTest build alike).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${TOOLCHAIN_PREFIX}-gcc-posix ${TOOLCHAIN_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TOOLCHAIN_PREFIX}-g++-posix ${TOOLCHAIN_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TOOLCHAIN_PREFIX}-windres REQUIRED)

# The target's headers and libraries live beside the compiler's bin folder (/usr/i686-w64-mingw32
# on Debian).
get_filename_component(QM_MINGW_PREFIX "${CMAKE_C_COMPILER}" DIRECTORY)
get_filename_component(QM_MINGW_PREFIX "${QM_MINGW_PREFIX}" DIRECTORY)
set(CMAKE_FIND_ROOT_PATH ${QM_MINGW_PREFIX}/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Link zlib statically.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
