#include "shell/patcher_and_backup_win32.h"

#include "base/os.h"
#include "base/registry_win32.h"
#include "resources/string_ids.h"
#include "shell/backup.h"
#include "shell/editor_state.h"
#include "shell/language.h"
#include "shell/make_sfx.h"
#include "shell/record_view_win32.h"
#include "shell/main_window_win32.h"

namespace qm {

std::span<const uint8_t> EmbeddedProgram(WORD id) {
  HRSRC found = FindResourceExA(nullptr, kEmbeddedProgramType, MAKEINTRESOURCEA(id), kEmbeddedProgramLanguage);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, found);
  const DWORD size = SizeofResource(nullptr, found);
  if (loaded == nullptr || size == 0) return {};
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) return {};
  return {static_cast<const uint8_t*>(bytes), size};
}

bool WritePatcher(const char* file_name) {
  const std::span<const uint8_t> stub = EmbeddedProgram(kPatcherResourceId);
  return !stub.empty() && BuildPatcher(&Editor().catalogue, stub, file_name).ok();
}

float UpdateRestoreMarker(float version) {
  const RegistryKey key = CreateRegistryKey(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS);
  if (!key) return 0.0f;
  const std::optional<std::string> text = ReadRegistryText(key, kRestoreMarkerValue, kRestoreMarkerBytes);
  const float marker = text ? ParseRestoreMarker(*text) : 0.0f;
  if (RestoreMarkerIsBelow(marker, version)) WriteRegistryText(key, kRestoreMarkerValue, FormatRestoreMarker(version));
  return marker;
}

bool OfferBackup(HWND owner, const std::string& restore_tool_path,
                 const std::string& working_archive) {
  if (!os::FileExists(working_archive)) return false;
  const float version = Editor().game_version;
  // An older or unknown game gets no offer, and its marker is left alone.
  if (!(version >= kBackupMinimumVersion)) return false;
  const float marker_before = UpdateRestoreMarker(version);
  if (!ShouldOfferBackup(version, marker_before)) return false;

  // No question without a restore tool to write; and nothing is written before the answer, so
  // an editor closed while the question is open leaves nothing behind.
  const std::span<const uint8_t> stub = EmbeddedProgram(kRestoreToolResourceId);
  if (stub.empty()) return false;
  if (MessageBoxA(owner, Text(kMsgBackupQuestion), kProductName, MB_YESNO) != IDYES) return false;
  if (!WriteBackup(stub, restore_tool_path, working_archive).ok()) {
    ShowStatusString(kMsgBackupFailed);
    return false;
  }
  return true;
}

}  // namespace qm
