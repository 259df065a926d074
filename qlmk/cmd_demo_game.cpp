// qlmk demo-game: writes a small complete game folder to try everything on.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "heroes/hero_record.h"
#include "qlmk/command.h"
#include "tools/demo_game/demo_game.h"

namespace qlmk {
namespace {

constexpr const char* kUsage =
    "usage: qlmk demo-game DIR [--heroes N] [--version A.B.C.D]\n"
    "\n"
    "Writes a demo game into DIR, shaped like a patched installation: HEROES4.EXE (version\n"
    "1.3.0.0), DATA/HEROES4.H4R with the twelve portrait bundles, DATA/UPDATES.H4R with one\n"
    "other entry and DATA/TEXT.H4R with the hero table. N heroes (default 60, at most 997),\n"
    "each with a name, keyword, biography and both faces drawn by code. Files of those names\n"
    "are replaced. --version sets HEROES4.EXE's product version instead (four numbers of at\n"
    "most 65535), to try the patcher's and the restore tool's version gates.\n";

// "A.B.C.D" with four numbers of 0..65535.
bool ParseVersion(const std::string& text, std::array<uint16_t, 4>* out) {
  size_t part = 0, start = 0;
  for (;;) {
    const size_t end = text.find('.', start);
    const std::string number = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part >= 4 || number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos) {
      return false;
    }
    const unsigned long value = std::stoul(number);
    if (value > 65535) return false;
    (*out)[part++] = static_cast<uint16_t>(value);
    if (end == std::string::npos) return part == 4;
    start = end + 1;
  }
}

int Run(const std::vector<std::string>& words) {
  Args args(words, {"--heroes", "--version"});
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
  if (args.Has("--version") && !ParseVersion(args.Value("--version"), &options.version)) {
    return Usage("--version takes four numbers such as 1.2.0.0", kUsage);
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
