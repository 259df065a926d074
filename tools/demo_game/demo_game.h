// The demo game: a small but complete game folder shaped like a patched installation, for
// trying the tools out, for end-to-end tests and for benchmarks.
//
//   qm::DemoGameSummary summary;
//   qm::Status s = qm::MakeDemoGame("/tmp/game", {}, &summary);
//
// It writes, in that folder:
//   HEROES4.EXE        a tiny Windows program whose version block reads 1.3.0.0 (or the
//                      product version of the options, for trying the version gates)
//   DATA/HEROES4.H4R   the twelve portrait bundles, faces of "dead" and "sleeping" first in
//                      the death bundles, and a few unrelated entries; some entries are raw,
//                      as the game stores them (trailing word 1), the others gzip
//   DATA/UPDATES.H4R   one unrelated entry, as a patched game has
//   DATA/TEXT.H4R      the hero table "table.heroes.h4d" (header row and the heroes) and an
//                      unrelated text entry
// Every hero has a keyword, a name, a biography, a sex, a class with portrait bundles and both
// faces, drawn by code and encoded as the editor encodes them, so every hero is complete.
// Existing files of those names are replaced; other files in the folder stay.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/status.h"
#include "heroes/code_page.h"
#include "heroes/hero_record.h"
#include "tools/demo_game/demo_heroes.h"

namespace qm {

struct DemoGameOptions {
  size_t hero_count = demo::kDemoRosterSize;  // at most 997
  std::array<uint16_t, 4> version = {1, 3, 0, 0};  // product version: major, minor, build, revision
  // The code page of the game's texts, and with it their language: 1252 English, 1251 Russian,
  // 1250 Polish.
  CodePage code_page = kDefaultCodePage;
};

// The language of a demo game whose texts are in `page`.
demo::DemoLanguage DemoLanguageOf(CodePage page);

// The demo executable with `version` as the product version of its fixed version information
// (what the game version is computed from). Fails when the executable has no version block.
Status DemoExecutableWithVersion(std::span<const uint8_t> executable, const std::array<uint16_t, 4>& version,
                                 std::vector<uint8_t>* out);

struct DemoGameSummary {
  std::string executable, base_archive, update_archive, text_archive;
  size_t heroes = 0;
};

// The catalogue's records for the demo heroes: [0] the header row, [1] "dead", [2] "sleeping",
// then one record per hero, faces included (face flags set as a load would set them), texts in
// `page`. Fails for a text the page cannot hold.
Status MakeDemoRecords(const std::vector<demo::DemoHero>& heroes, std::vector<HeroRecord>* records,
                       CodePage page = kDefaultCodePage);

Status MakeDemoGame(const std::string& folder, const DemoGameOptions& options = {},
                    DemoGameSummary* summary = nullptr);

}  // namespace qm
