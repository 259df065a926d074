// The shell's folder browser with a folder test that decides when OK may be pressed; the DIR
// buttons of the editor and of the patcher both use it.
//
//   std::optional<std::string> folder = qm::BrowseForFolder(owner, "Select HOMM4 Folder",
//       current_folder, [](const std::string& f) { return !qm::FindInFolder(f, "HEROES4.EXE").empty(); });
//
// The browser opens with the validation flag, preselects `start_folder`, and from then on
// enables OK only while the selected folder passes `acceptable` (which sees the path with a
// trailing backslash). Returns the chosen folder as the shell gives it (no trailing backslash
// except at a drive's root), or nullopt when cancelled or the choice has no file-system path.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace qm {

std::optional<std::string> BrowseForFolder(HWND owner, const char* title,
                                           const std::string& start_folder,
                                           std::function<bool(const std::string&)> acceptable);

}  // namespace qm
