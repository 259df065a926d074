#include "shell/folder_browser_win32.h"

#include <objbase.h>
#include <shlobj.h>

#include <array>

#include "base/handles_win32.h"
#include "base/path.h"

namespace qm {
namespace {

struct BrowserState {
  std::string start_folder;
  std::function<bool(const std::string&)> acceptable;
  bool ready = false;
};

int CALLBACK BrowserCallback(HWND browser, UINT message, LPARAM lparam, LPARAM data) {
  auto* state = reinterpret_cast<BrowserState*>(data);
  if (message == BFFM_INITIALIZED) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                 reinterpret_cast<LPARAM>(state->start_folder.c_str()));
    state->ready = true;
  } else if (message == BFFM_SELCHANGED && state->ready) {
    std::array<char, MAX_PATH> path{};
    std::string folder;
    if (SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lparam), path.data())) {
      folder = WithTrailingSeparator(path.data());
    }
    const bool ok = !folder.empty() && state->acceptable && state->acceptable(folder);
    SendMessageA(browser, BFFM_ENABLEOK, 0, ok ? TRUE : FALSE);
  }
  return 0;
}

}  // namespace

std::optional<std::string> BrowseForFolder(HWND owner, const char* title,
                                           const std::string& start_folder,
                                           std::function<bool(const std::string&)> acceptable) {
  ComScope com;  // the folder browser needs COM on this thread
  BrowserState state{start_folder, std::move(acceptable), false};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = title;
  info.ulFlags = BIF_VALIDATE;
  info.lpfn = BrowserCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  ShellItemList chosen(SHBrowseForFolderA(&info));
  if (chosen.get() == nullptr) return std::nullopt;
  std::array<char, MAX_PATH> path{};
  if (!SHGetPathFromIDListA(chosen.get(), path.data()) || path[0] == '\0') return std::nullopt;
  return std::string(path.data());
}

}  // namespace qm
