# Compiler flags shared by every target of the project.
#
# Floating point must give the same bits on the host and in the 32-bit Windows build:
# SSE2 arithmetic everywhere (x87 would keep 80-bit intermediates) and no contraction
# into fused multiply-adds.
add_compile_options(-Wall -Wextra -ffp-contract=off)
if(QM_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i[3-6]86" OR CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# Two builds of one commit give the same programs, wherever the tree lies: file names the
# compiler writes into objects (__FILE__, debug information) are relative to the source tree,
# and the Windows linker writes no time stamp into the PE header (it stays 0).
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

if(WIN32)
  # Windows programs are statically linked: no MinGW or zlib DLLs beside them.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(QM_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QM_FUZZ)
  # Undefined behaviour stops the run like a crash, so that libFuzzer keeps the input.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a GUI program of the win32 build (GUI subsystem, PE32, static). The programs land
# together in <build>/bin, where the end-to-end driver and `make run` find them.
function(qm_add_gui_program name)
  add_executable(${name} WIN32 ${ARGN})
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

if(WIN32)
  # Every function and datum in its own section, so that the stub programs' linker can drop
  # what they do not call from the shared libraries.
  add_compile_options(-ffunction-sections -fdata-sections)
endif()

# The two stub programs ride inside the editor and inside every patch a player sends: their own
# code is optimised for size, unused sections are dropped and symbols stripped.
# Libraries that only the stubs and the tools use, or that do no heavy work, are compiled for
# size as well. Takes any number of targets.
function(qm_optimise_for_size)
  foreach(name ${ARGN})
    target_compile_options(${name} PRIVATE -Os)
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_options(${name} PRIVATE -Wl,--gc-sections -s)
      if(WIN32)
        target_link_libraries(${name} PRIVATE qm_stub_runtime)
      endif()
    endif()
  endforeach()
endfunction()

# The string-table scripts (resources/strings_*.rc) include their lists (strings_*.inc), which
# the resource compiler's rule does not track: a changed list must rebuild every .res made from
# them. Source properties belong to a directory, so each directory that compiles one of the
# scripts calls this.
function(qm_track_string_lists)
  set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/strings_editor.rc APPEND PROPERTY
               OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/strings_editor.inc)
  set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/strings_patcher.rc APPEND PROPERTY
               OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/strings_patcher.inc)
endfunction()
