// Path text helpers that work on both separators, since game paths use backslashes and the
// host build uses forward slashes.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// The separator this platform's file system joins paths with.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The folder with a trailing separator: unchanged when it is empty or already ends in `\` or
// `/`, else with `separator` appended. Paths the Windows side reports (the game search) pass
// '\\' so that they keep their form on every host.
std::string WithTrailingSeparator(std::string_view folder, char separator = kPathSeparator);

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
