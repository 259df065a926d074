// The demo game's heroes: names, keywords, biographies, sex, class and a look seed that varies
// their faces.
//
//   std::vector<qm::demo::DemoHero> heroes = qm::demo::DemoHeroes();      // the 60 of the roster
//   std::vector<qm::demo::DemoHero> many = qm::demo::DemoHeroes(997);     // roster + generated
//   auto russian = qm::demo::DemoHeroes(60, qm::demo::DemoLanguage::kRussian);
//
// The roster covers every class that has portrait bundles (archer .. death_knight) with both
// sexes in each. Generic heroes are left out: no bundle holds their faces, so they could never
// be complete. Beyond the roster, heroes are generated with keywords "demo0061", "demo0062", ...
// Keywords are unique under ASCII case folding; every text fits its field.
//
// Names and biographies are UTF-8: English (plain ASCII), or Russian or Polish for a game in
// code page 1251 or 1250. Keywords, sexes, classes and looks are the same in every language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::demo {

constexpr size_t kDemoRosterSize = 60;

enum class DemoLanguage { kEnglish, kRussian, kPolish };

struct DemoHero {
  std::string keyword;
  std::string name;        // UTF-8
  std::string biography;   // UTF-8
  uint8_t sex = 0;         // SexId
  uint8_t hero_class = 0;  // ClassId, 2..12
  bool allowed = true;
  uint32_t look = 0;       // seed for skin, hair, eyes and clothing
};

// The first `count` heroes (at most kMaxHeroRecords - 3, the catalogue's room for heroes).
std::vector<DemoHero> DemoHeroes(size_t count = kDemoRosterSize, DemoLanguage language = DemoLanguage::kEnglish);

}  // namespace qm::demo
