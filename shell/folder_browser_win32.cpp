#include "shell/folder_browser_win32.h"

#include <objbase.h>
#include <shlobj.h>

#include <array>

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
      folder = path.data();
    }
    if (!folder.empty() && folder.back() != '\\') folder.push_back('\\');
    const bool ok = !folder.empty() && state->acceptable && state->acceptable(folder);
    SendMessageA(browser, BFFM_ENABLEOK, 0, ok ? TRUE : FALSE);
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

std::optional<std::string> BrowseForFolder(HWND owner, const char* title,
                                           const std::string& start_folder,
                                           std::function<bool(const std::string&)> acceptable) {
  ComScope com;
  BrowserState state{start_folder, std::move(acceptable), false};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = title;
  info.ulFlags = BIF_VALIDATE;
  info.lpfn = BrowserCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  ItemList chosen(SHBrowseForFolderA(&info));
  if (chosen.get() == nullptr) return std::nullopt;
  std::array<char, MAX_PATH> path{};
  if (!SHGetPathFromIDListA(chosen.get(), path.data()) || path[0] == '\0') return std::nullopt;
  return std::string(path.data());
}

bool FolderHolds(std::string folder, const char* name) {
  if (!folder.empty() && folder.back() != '\\') folder.push_back('\\');
  return GetFileAttributesA((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace qm
