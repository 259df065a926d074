// The patcher build (MakeSFX) and the backup offer, as the main window calls them.
//
//   if (qm::BuildPatcher(main, "QLMKSFX.EXE")) status 322 else status 323
//   qm::OfferBackup(main, game_folder + "DATA\\RESTORE.EXE", working_archive);  // WM_CREATE
//
// Neither is built yet: BuildPatcher writes nothing and reports failure, OfferBackup asks
// nothing and reports that no backup was written. The main window already calls both at their
// places, so only these two functions change when they arrive.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

constexpr const char* kPatcherFileName = "QLMKSFX.EXE";
constexpr const char* kRestoreToolPath = "DATA\\RESTORE.EXE";

bool BuildPatcher(HWND owner, const char* file_name);
bool OfferBackup(HWND owner, const std::string& restore_tool_path,
                 const std::string& working_archive);

}  // namespace qm
