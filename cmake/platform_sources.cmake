# Adds a target's platform pieces: the sources after WIN32 in the win32 build, those after
# POSIX in the host build.
#   qm_platform_sources(qm_game_paths WIN32 game_files_win32.cpp POSIX game_files_posix.cpp)
function(qm_platform_sources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "WIN32;POSIX")
  if(WIN32)
    target_sources(${target} PRIVATE ${arg_WIN32})
  else()
    target_sources(${target} PRIVATE ${arg_POSIX})
  endif()
endfunction()
