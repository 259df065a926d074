// The two choices that change where the game data comes from: the "DIR" folder browser and the
// "PATCH" open dialog.
//
//   if (qm::ChooseGameFolder(main)) repaint;          // folder with DATA\HEROES4.H4R chosen
//   if (qm::ChooseWorkingArchive(main)) reload;       // any existing file chosen
//
// ChooseGameFolder offers OK only on folders that hold DATA\HEROES4.H4R and, on OK, rebuilds
// the game folder and the three archive paths (qm::Editor().paths); the current directory and
// the game version stay. ChooseWorkingArchive replaces only the working archive. Both return
// false and change nothing when the user cancels.
#pragma once

#include <windows.h>

namespace qm {

constexpr const char* kFolderBrowserTitle = "Quillmark Select HOMM4 Folder";
constexpr const char* kArchiveDialogTitle = "Select H4R File";

bool ChooseGameFolder(HWND owner);
bool ChooseWorkingArchive(HWND owner);

}  // namespace qm
