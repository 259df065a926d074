// The string tables the programs carry, as data: the same lists the Windows STRINGTABLEs are
// built from (resources/strings_editor.inc, resources/strings_patcher.inc), ascending by id.
//
// The host build answers the Text lookup's string-table step from the editor's list; tools use
// the lists to write language templates.
#pragma once

#include <cstdint>
#include <span>
#include <cstddef>

#include "shell/language.h"

namespace qm {

std::span<const StringEntry> EditorStrings();
std::span<const StringEntry> PatcherStrings();

// String-table lookups over the two lists with LoadStringA's contract (see
// LoadProgramString): at most capacity - 1 characters, zero-terminated; 0 for an unknown id.
size_t LookupEditorString(uint32_t id, char* buffer, size_t capacity);
size_t LookupPatcherString(uint32_t id, char* buffer, size_t capacity);

}  // namespace qm
