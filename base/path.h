// Path text helpers that work on both separators, since game paths use backslashes and the
// host build uses forward slashes.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Everything before the last backslash, or, if there is none, before the last forward slash;
// empty when the path has neither.
std::string FolderOf(std::string_view path);

// The path of `name` in the folder of `sibling`: the folder, the separator that ended it, and
// the name; just the name when `sibling` has no folder.
std::string PathBeside(std::string_view sibling, std::string_view name);

}  // namespace qm
