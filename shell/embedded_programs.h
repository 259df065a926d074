// The two stub programs the editor carries inside it, as resources of its executable: the
// patcher MakeSFX writes out and the restore tool the backup writes. The editor loads them
// through Windows; qlmk reads them from a quillmark.exe file (shell/pe_resources.h) when no
// stub program lies beside it. The editor's resource script (resources/embedded_programs.rc.in)
// names the same type and ids.
#pragma once

#include <cstdint>

namespace qm {

constexpr char kEmbeddedProgramType[] = "BIN";
constexpr uint16_t kEmbeddedProgramLanguage = 0x0409;  // English (United States)
constexpr uint16_t kPatcherResourceId = 107;
constexpr uint16_t kRestoreToolResourceId = 108;
// The editor's file name in a release folder.
constexpr char kEditorFileName[] = "quillmark.exe";

}  // namespace qm
