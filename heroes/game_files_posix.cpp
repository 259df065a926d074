#include <dirent.h>

#include <memory>

#include "base/ascii.h"
#include "base/os.h"
#include "heroes/game_files.h"

namespace qm {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::string FindInFolder(const std::string& folder, std::string_view name) {
  std::string exact = folder + std::string(name);
  if (os::FileExists(exact)) return exact;
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return std::string();
  while (const dirent* entry = readdir(dir.get())) {
    if (AsciiEqualNoCase(entry->d_name, name)) return folder + entry->d_name;
  }
  return std::string();
}

}  // namespace qm
