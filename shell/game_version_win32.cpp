// The game version through the system's version API, as the game's own tools read it.
#include <windows.h>

#include <vector>

#include "shell/game_version.h"

namespace qm {

float ReadGameVersion(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return 0.0f;
  std::vector<char> block(size);  // zero-filled
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return 0.0f;

  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", &value, &length) || value == nullptr) return 0.0f;
  // A block whose root carries no complete fixed information has no version to read.
  if (length < sizeof(VS_FIXEDFILEINFO)) return 0.0f;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != VS_FFI_SIGNATURE) return 0.0f;
  return GameVersionFromProductVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
}

}  // namespace qm
