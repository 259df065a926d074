// The programs' string ids by name, from the same lists the string tables are built from
// (strings_editor.inc, strings_patcher.inc): code says Text(kMsgSaved), never Text(304).
//
//   ShowStatusString(kMsgSaved);                 // "Saved Successfully."
//   const char* label = Text(kLabelSave);        // "Save", or the language file's text
#pragma once

#include <cstdint>

namespace qm {

enum StringId : uint32_t {
#define QM_STRING(name, id, text) name = id,
#include "resources/strings_editor.inc"
#include "resources/strings_patcher.inc"
#undef QM_STRING
};

}  // namespace qm
