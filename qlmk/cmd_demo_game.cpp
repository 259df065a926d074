// qlmk demo-game: writes a small complete game folder to try everything on.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "heroes/hero_record.h"
#include "qlmk/command.h"
#include "qlmk/hero_text.h"
#include "tools/demo_game/demo_game.h"

namespace qlmk {
namespace {

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

int Run(const Args& args) {
  qm::DemoGameOptions options;
  HeroText text;
  if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;
  options.code_page = text.page();
  if (args.Has("--heroes")) {
    const std::string n = args.Value("--heroes");
    const size_t most = qm::kMaxHeroRecords - qm::kFirstHeroRecord;
    size_t value = 0;
    bool ok = !n.empty() && n.size() <= 4;
    for (char c : n) ok = ok && c >= '0' && c <= '9';
    if (ok) value = std::stoul(n);
    if (!ok || value > most) return args.Usage("--heroes takes a number from 0 to " + std::to_string(most));
    options.hero_count = value;
  }
  if (args.Has("--version") && !ParseVersion(args.Value("--version"), &options.version)) {
    return args.Usage("--version takes four numbers such as 1.2.0.0");
  }
  const std::string& dir = args.positional()[0];
  qm::DemoGameSummary summary;
  if (qm::Status s = qm::MakeDemoGame(dir, options, &summary); !s) return Fail(dir, s);
  std::printf("Demo game with %zu heroes in code page %d written:\n  %s\n  %s\n  %s\n  %s\n", summary.heroes,
              static_cast<int>(options.code_page), summary.executable.c_str(), summary.base_archive.c_str(),
              summary.update_archive.c_str(), summary.text_archive.c_str());
  return kExitOk;
}

const Command kDemoGame = {
    .name = "demo-game",
    .summary = "write a small complete demo game folder",
    .positionals = {{"DIR"}},
    .options = {{"--heroes", "N", "the number of heroes (default 60, at most 997)"},
                {"--version", "A.B.C.D",
                 "HEROES4.EXE's product version (four numbers of at most 65535), to try the patcher's and the "
                 "restore tool's version gates"}},
    .groups = {kCodePageOption},
    .details =
        "Writes a demo game into DIR, shaped like a patched installation: HEROES4.EXE (version\n"
        "1.3.0.0 unless --version says otherwise), DATA/HEROES4.H4R with the twelve portrait\n"
        "bundles, DATA/UPDATES.H4R with one other entry and DATA/TEXT.H4R with the hero table.\n"
        "Each hero has a name, keyword, biography and both faces drawn by code. Files of those\n"
        "names are replaced. The names and biographies are English in code page 1252, Russian in\n"
        "1251 and Polish in 1250 (--codepage); keywords are the same in all three.\n",
    .run = Run,
};
QLMK_COMMAND(kDemoGame);

}  // namespace
}  // namespace qlmk
