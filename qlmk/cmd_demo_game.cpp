// qlmk demo-game: writes a small complete game folder to try everything on.
#include <cstdio>
#include <string>
#include <vector>

#include "heroes/hero_record.h"
#include "qlmk/command.h"
#include "tools/demo_game/demo_game.h"

namespace qlmk {
namespace {

constexpr const char* kUsage =
    "usage: qlmk demo-game DIR [--heroes N]\n"
    "\n"
    "Writes a demo game into DIR, shaped like a patched installation: HEROES4.EXE (version\n"
    "1.3.0.0), DATA/HEROES4.H4R with the twelve portrait bundles, DATA/UPDATES.H4R with one\n"
    "other entry and DATA/TEXT.H4R with the hero table. N heroes (default 60, at most 997),\n"
    "each with a name, keyword, biography and both faces drawn by code. Files of those names\n"
    "are replaced.\n";

int Run(const std::vector<std::string>& words) {
  Args args(words, {"--heroes"});
  if (args.help()) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (!args.error().empty()) return Usage(args.error(), kUsage);
  if (args.positional().size() != 1) return Usage("demo-game needs one DIR", kUsage);
  qm::DemoGameOptions options;
  if (args.Has("--heroes")) {
    const std::string n = args.Value("--heroes");
    const size_t most = qm::kMaxHeroRecords - qm::kFirstHeroRecord;
    size_t value = 0;
    bool ok = !n.empty() && n.size() <= 4;
    for (char c : n) ok = ok && c >= '0' && c <= '9';
    if (ok) value = std::stoul(n);
    if (!ok || value > most) return Usage("--heroes takes a number from 0 to " + std::to_string(most), kUsage);
    options.hero_count = value;
  }
  const std::string& dir = args.positional()[0];
  qm::DemoGameSummary summary;
  if (qm::Status s = qm::MakeDemoGame(dir, options, &summary); !s) return Fail(dir + ": " + s.why());
  std::printf("Demo game with %zu heroes written:\n  %s\n  %s\n  %s\n  %s\n", summary.heroes, summary.executable.c_str(),
              summary.base_archive.c_str(), summary.update_archive.c_str(), summary.text_archive.c_str());
  return kExitOk;
}

QLMK_COMMAND("demo-game", "write a small complete demo game folder", Run);

}  // namespace
}  // namespace qlmk
