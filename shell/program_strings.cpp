#include "shell/program_strings.h"

#include <algorithm>
#include <cstring>

namespace qm {
namespace {

constexpr StringEntry kEditorStrings[] = {
#define QM_STRING(name, id, text) {id, text},
#include "resources/strings_editor.inc"
#undef QM_STRING
};

constexpr StringEntry kPatcherStrings[] = {
#define QM_STRING(name, id, text) {id, text},
#include "resources/strings_patcher.inc"
#undef QM_STRING
};

size_t Lookup(std::span<const StringEntry> table, uint32_t id, char* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  buffer[0] = '\0';
  auto it = std::lower_bound(table.begin(), table.end(), id,
                             [](const StringEntry& e, uint32_t key) { return e.id < key; });
  if (it == table.end() || it->id != id) return 0;
  const size_t n = strnlen(it->text, capacity - 1);
  std::memcpy(buffer, it->text, n);
  buffer[n] = '\0';
  return n;
}

}  // namespace

std::span<const StringEntry> EditorStrings() { return kEditorStrings; }
std::span<const StringEntry> PatcherStrings() { return kPatcherStrings; }

size_t LookupEditorString(uint32_t id, char* buffer, size_t capacity) {
  return Lookup(kEditorStrings, id, buffer, capacity);
}
size_t LookupPatcherString(uint32_t id, char* buffer, size_t capacity) {
  return Lookup(kPatcherStrings, id, buffer, capacity);
}

}  // namespace qm
