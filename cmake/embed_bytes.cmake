# Turns a file into a C++ source defining its bytes:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kSymbol -DNAMESPACE=qm -P embed_bytes.cmake
# defines `const uint8_t <NAME>Bytes[]` and `const size_t <NAME>Size` in NAMESPACE.
foreach(var INPUT OUTPUT NAME NAMESPACE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_bytes.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "embed_bytes.cmake: ${INPUT} is empty")
endif()
# Sixteen bytes a line.
set(bytes "")
set(at 0)
while(at LESS hex_length)
  string(SUBSTRING "${hex}" ${at} 32 line)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," line "${line}")
  string(APPEND bytes "  ${line}\n")
  math(EXPR at "${at} + 32")
endwhile()

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} by cmake/embed_bytes.cmake. Do not edit.
#include <cstddef>
#include <cstdint>

namespace ${NAMESPACE} {

extern const uint8_t ${NAME}Bytes[];
extern const size_t ${NAME}Size;

const uint8_t ${NAME}Bytes[] = {
${bytes}};
const size_t ${NAME}Size = ${size};

}  // namespace ${NAMESPACE}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
