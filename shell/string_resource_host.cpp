// The host has no module resources: the program's string table is the editor's list built in.
#include "shell/language.h"
#include "shell/program_strings.h"

namespace qm {

size_t LoadProgramString(uint32_t id, char* buffer, size_t capacity) {
  return LookupEditorString(id, buffer, capacity);
}

}  // namespace qm
