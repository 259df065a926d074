// The program's string table is the STRINGTABLE resource of its own executable.
#include <windows.h>

#include <climits>

#include "shell/language.h"

namespace qm {

size_t LoadProgramString(uint32_t id, char* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  buffer[0] = '\0';
  if (id > 0xFFFF || capacity > INT_MAX) return 0;  // string resources have 16-bit ids
  const int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, static_cast<int>(capacity));
  return n > 0 ? static_cast<size_t>(n) : 0;
}

}  // namespace qm
