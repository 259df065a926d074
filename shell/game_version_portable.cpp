// The game version through the portable PE reader. A file of its own: the Windows programs
// read versions through the system's API (game_version_win32.cpp), so the stubs, which link
// every function of every object they use, carry no PE reader.
#include "shell/game_version.h"
#include "shell/pe_version.h"

namespace qm {

float GameVersionOfImage(std::span<const uint8_t> image) {
  std::optional<PeProductVersion> v = ReadPeProductVersion(image);
  return v ? GameVersionFromProductVersion(v->ms, v->ls) : 0.0f;
}

float ReadGameVersionPortable(const std::string& path) {
  std::optional<PeProductVersion> v = ReadPeProductVersionOfFile(path);
  return v ? GameVersionFromProductVersion(v->ms, v->ls) : 0.0f;
}

}  // namespace qm
