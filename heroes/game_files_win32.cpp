#include "base/os.h"
#include "heroes/game_files.h"

namespace qm {

std::string FindInFolder(const std::string& folder, std::string_view name) {
  std::string path = folder + std::string(name);
  return os::FileExists(path) ? path : std::string();
}

}  // namespace qm
