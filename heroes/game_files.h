// Finding a game's files by name: the one step of locating a game that differs by platform.
//
// Windows folds case in its file system, so a name is found exactly when folder + name exists.
// Other hosts compare the names of the folder's entries without regard to ASCII case and take
// an exact match first, then the first case-folded match in directory order.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// `folder` ends with a separator (or is empty for the current directory). Returns the path of
// the entry (file or folder) called `name`, as it exists; empty when there is none.
std::string FindInFolder(const std::string& folder, std::string_view name);

}  // namespace qm
