// Path text helpers that work on both separators, since game paths use backslashes and the
// host build uses forward slashes.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Everything before the last backslash, or, if there is none, before the last forward slash;
// empty when the path has neither.
std::string FolderOf(std::string_view path);

// The folder the file system itself sees for `path`, for making a file beside it: on Windows
// everything before the last `\` or `/` (it takes both, even mixed), elsewhere before the last
// `/` (a backslash is an ordinary character there); empty when there is none.
std::string FileSystemFolderOf(std::string_view path);

// The path of `name` in the folder of `sibling`: the folder, the separator that ended it, and
// the name; just the name when `sibling` has no folder.
std::string PathBeside(std::string_view sibling, std::string_view name);

// True for a name that stays inside the folder it is joined to: not empty, no leading `\` or
// `/`, no `:` anywhere (drive letters, alternate streams), and no `..` component between
// either separator (nor one of dots and spaces, such as "... ", that Windows trims to `..`).
// Names that arrive in a payload are untrusted and must pass this before a file is made from
// them.
bool IsSafeRelativeName(std::string_view name);

// A safe name without any separator: a file directly in the folder it is joined to.
bool IsBareFileName(std::string_view name);

}  // namespace qm
