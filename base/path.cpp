#include "base/path.h"

namespace qm {

namespace {

size_t LastSeparator(std::string_view path) {
  const size_t backslash = path.rfind('\\');
  return backslash != std::string_view::npos ? backslash : path.rfind('/');
}

}  // namespace

std::string WithTrailingSeparator(std::string_view folder, char separator) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += separator;
  return out;
}

std::string FolderOf(std::string_view path) {
  const size_t at = LastSeparator(path);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string FileSystemFolderOf(std::string_view path) {
#ifdef _WIN32
  const size_t at = path.find_last_of("\\/");
#else
  const size_t at = path.rfind('/');
#endif
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string PathBeside(std::string_view sibling, std::string_view name) {
  const size_t at = LastSeparator(sibling);
  if (at == std::string_view::npos) return std::string(name);
  // Keep the separator the folder ended with, so the result names a file in that folder on
  // POSIX too, where a backslash is an ordinary character.
  return std::string(sibling.substr(0, at + 1)) + std::string(name);
}

namespace {

// "..", and anything Windows trims to it: it drops trailing dots and spaces from a component.
bool IsParentComponent(std::string_view part) {
  size_t dots = 0;
  for (char c : part) {
    if (c == '.') {
      ++dots;
    } else if (c != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

}  // namespace

bool IsSafeRelativeName(std::string_view name) {
  if (name.empty() || name.front() == '\\' || name.front() == '/') return false;
  if (name.find(':') != std::string_view::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    if (IsParentComponent(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

bool IsBareFileName(std::string_view name) {
  return IsSafeRelativeName(name) && name.find_first_of("\\/") == std::string_view::npos && name != ".";
}

}  // namespace qm
