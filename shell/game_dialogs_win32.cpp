#include "shell/game_dialogs_win32.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <string>

#include "shell/editor_state.h"

namespace qm {
namespace {

constexpr DWORD kPathBytes = 260;

struct BrowserState {
  std::string start_folder;
  bool ready = false;
};

bool HasBaseArchive(std::string folder) {
  EnsureTrailingBackslash(&folder);
  const std::string base = folder + "DATA\\HEROES4.H4R";
  return GetFileAttributesA(base.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CALLBACK BrowserCallback(HWND browser, UINT message, LPARAM lparam, LPARAM data) {
  auto* state = reinterpret_cast<BrowserState*>(data);
  if (message == BFFM_INITIALIZED) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                 reinterpret_cast<LPARAM>(state->start_folder.c_str()));
    state->ready = true;
  } else if (message == BFFM_SELCHANGED && state->ready) {
    std::array<char, MAX_PATH> path{};
    const bool have = SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lparam), path.data());
    SendMessageA(browser, BFFM_ENABLEOK, 0, have && HasBaseArchive(path.data()) ? TRUE : FALSE);
  }
  return 0;
}

// The shell's item list of the chosen folder, released with CoTaskMemFree.
class ItemList {
 public:
  explicit ItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
  ~ItemList() {
    if (list_ != nullptr) CoTaskMemFree(list_);
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  PIDLIST_ABSOLUTE get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_;
};

// The folder browser needs COM on this thread; a thread that already has it keeps it.
class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

bool ChooseGameFolder(HWND owner) {
  ComScope com;
  BrowserState state{Editor().paths.game_folder, false};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = kFolderBrowserTitle;
  info.ulFlags = BIF_VALIDATE;
  info.lpfn = BrowserCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  ItemList chosen(SHBrowseForFolderA(&info));
  if (chosen.get() == nullptr) return false;
  std::array<char, MAX_PATH> path{};
  if (!SHGetPathFromIDListA(chosen.get(), path.data()) || path[0] == '\0') return false;
  SetGameFolder(&Editor(), path.data());
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
