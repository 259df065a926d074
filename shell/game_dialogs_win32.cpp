#include "shell/game_dialogs_win32.h"

#include <commdlg.h>

#include <array>
#include <string>

#include "heroes/game_paths.h"
#include "shell/editor_state.h"
#include "shell/folder_browser_win32.h"

namespace qm {
namespace {

constexpr DWORD kPathBytes = 260;

}  // namespace

bool ChooseGameFolder(HWND owner) {
  std::optional<std::string> chosen =
      BrowseForFolder(owner, kFolderBrowserTitle, Editor().paths.game_folder,
                      [](const std::string& folder) { return !FindGameDataFile(folder, kBaseArchiveName).empty(); });
  if (!chosen) return false;
  SetGameFolder(&Editor(), *chosen);
  return true;
}

bool ChooseWorkingArchive(HWND owner) {
  std::array<char, kPathBytes> file{};
  static const char kFilter[] = "H4R (*.H4R)\0*.H4R\0All Files(*. *)\0*.*\0";
  const std::string initial = Editor().paths.game_folder;
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kPathBytes;
  ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
  ofn.lpstrTitle = kArchiveDialogTitle;
  ofn.lpstrDefExt = "H4R";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) return false;
  Editor().paths.working_archive = file.data();
  return true;
}

}  // namespace qm
