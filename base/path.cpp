#include "base/path.h"

namespace qm {

namespace {

size_t LastSeparator(std::string_view path) {
  const size_t backslash = path.rfind('\\');
  return backslash != std::string_view::npos ? backslash : path.rfind('/');
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const size_t at = LastSeparator(path);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string PathBeside(std::string_view sibling, std::string_view name) {
  const size_t at = LastSeparator(sibling);
  if (at == std::string_view::npos) return std::string(name);
  // Keep the separator the folder ended with, so the result names a file in that folder on
  // POSIX too, where a backslash is an ordinary character.
  return std::string(sibling.substr(0, at + 1)) + std::string(name);
}

}  // namespace qm
