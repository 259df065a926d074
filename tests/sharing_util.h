// Helpers for the tests of MakeSFX, patch apply, backup and restore: demo games in temporary
// folders, and the interruption loop over every write, seek, flush, close and rename.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/path.h"
#include "base/status.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "tests/test_util.h"
#include "tools/demo_game/demo_game.h"

namespace qm::test {

constexpr unsigned kInterruptions = fault::kWrite | fault::kSeek | fault::kFlush | fault::kClose | fault::kRename;

// A demo game of `heroes` heroes in a new folder `name` under `dir`; returns the folder with a
// trailing separator.
inline std::string MakeGame(const TempDir& dir, const std::string& name, size_t heroes) {
  const std::string folder = dir.File(name);
  DemoGameOptions options;
  options.hero_count = heroes;
  const Status s = MakeDemoGame(folder, options);
  if (!s) throw std::runtime_error(s.why());
  return WithTrailingSeparator(folder);
}

inline HeroCatalogue LoadCatalogue(const std::string& folder) {
  HeroCatalogue c;
  const Status s = c.Load(GamePathsForFolder(folder));
  if (!s) throw std::runtime_error(s.why());
  return c;
}

// Names of the files in `folder` that begin with "QLM" (other than the patcher itself):
// temporary files left behind.
inline std::vector<std::string> TempFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("QLM", 0) == 0 && name != "QLMKSFX.EXE") names.push_back(name);
  }
  return names;
}

// Runs `prepare` and then `operation` with the k-th interruption failing, for k = 1, 2, ...
// until the operation gets through without one; `check` sees each outcome (and k). Returns
// the number of interruption points.
inline unsigned long FailEveryStep(const std::function<void()>& prepare, const std::function<Status()>& operation,
                                   const std::function<void(const Status&, bool interrupted, unsigned long k)>& check,
                                   unsigned kinds = kInterruptions) {
  for (unsigned long k = 1; k < 2000; ++k) {
    prepare();
    fault::FailNth(k, kinds);
    const Status s = operation();
    const bool triggered = fault::Triggered();
    fault::Reset();
    check(s, triggered, k);
    if (!triggered) return k - 1;
  }
  return 0;
}

}  // namespace qm::test
