#include "shell/game_version.h"

#include "base/path.h"
#include "heroes/game_files.h"
#include "shell/game_search.h"

namespace qm {

float GameVersionFromProductVersion(uint32_t ms, uint32_t ls) {
  constexpr float kMinorStep = 0.1f;
  constexpr float kBuildStep = 0.01f;
  constexpr float kRevisionStep = 0.001f;
  // Summed in extended precision and rounded once. With 16-bit parts and single-precision
  // factors every partial sum is exact even in double, so the result has the same bits on
  // every compiler and FPU precision setting.
  long double sum = static_cast<long double>(ms & 0xFFFF) * kMinorStep;
  sum += static_cast<long double>(ms >> 16);
  sum += static_cast<long double>(ls >> 16) * kBuildStep;
  sum += static_cast<long double>(ls & 0xFFFF) * kRevisionStep;
  return static_cast<float>(sum);
}

float GameVersionOfFolder(const std::string& game_folder) {
  const std::string executable = FindInFolder(WithTrailingSeparator(game_folder), kGameExecutable);
  return executable.empty() ? 0.0f : ReadGameVersion(executable);
}

}  // namespace qm
