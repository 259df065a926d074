// MakeSFX and the backup offer, as the main window calls them, and the two stub programs the
// editor carries as resources "BIN" 107 (patcher) and 108 (restore tool), language 1033
// (shell/embedded_programs.h).
//
//   if (qm::WritePatcher(qm::kPatcherFileName)) status kMsgPatcherBuilt else kMsgPatcherFailed
//   qm::OfferBackup(main, game_folder + "DATA\\RESTORE.EXE", working_archive);  // WM_CREATE
//
// WritePatcher builds QLMKSFX.EXE (relative to the current directory, the game folder) from
// resource 107 and the catalogue (shell/make_sfx.h); a failed build leaves no half-built file.
//
// OfferBackup, once per game version (>= 1.1): the RESTORE marker in
// HKLM\Software\New World Computing\QUILLMARK is read and raised to the game version first;
// when it was below the version and resource 108 is there, the user is asked
// (kMsgBackupQuestion). Only a yes writes anything: the restore tool with the working archive
// and its file times, put in place of RESTORE.EXE once complete (shell/backup.h). A no, or an
// editor closed while the question is open, leaves the old RESTORE.EXE as it was and no file
// behind. An accepted backup that cannot be written says so in the message panel
// (kMsgBackupFailed). Returns true when a backup was written.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "shell/embedded_programs.h"

namespace qm {

constexpr const char* kPatcherFileName = "QLMKSFX.EXE";
constexpr const char* kSettingsKey = "Software\\New World Computing\\QUILLMARK";
constexpr const char* kRestoreMarkerValue = "RESTORE";
constexpr DWORD kRestoreMarkerBytes = 255;

// The bytes of an embedded program of this module (shell/embedded_programs.h); empty when the
// resource is missing or empty. They live as long as the program.
std::span<const uint8_t> EmbeddedProgram(WORD id);

bool WritePatcher(const char* file_name);

// Reads the RESTORE marker (0 when missing, unreadable or no number) and writes the version
// ("%1.3f") when it is higher. Returns the marker as it was.
float UpdateRestoreMarker(float version);

bool OfferBackup(HWND owner, const std::string& restore_tool_path,
                 const std::string& working_archive);

}  // namespace qm
