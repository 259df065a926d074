// The demo game's heroes: names, keywords, biographies, sex, class and a look seed that varies
// their faces.
//
//   std::vector<qm::demo::DemoHero> heroes = qm::demo::DemoHeroes();      // the 60 of the roster
//   std::vector<qm::demo::DemoHero> many = qm::demo::DemoHeroes(997);     // roster + generated
//
// The roster covers every class that has portrait bundles (archer .. death_knight) with both
// sexes in each. Generic heroes are left out: no bundle holds their faces, so they could never
// be complete. Beyond the roster, heroes are generated with keywords "demo0061", "demo0062", ...
// Keywords are unique under ASCII case folding; every text fits its field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::demo {

constexpr size_t kDemoRosterSize = 60;

struct DemoHero {
  std::string keyword;
  std::string name;
  std::string biography;
  uint8_t sex = 0;         // SexId
  uint8_t hero_class = 0;  // ClassId, 2..12
  bool allowed = true;
  uint32_t look = 0;       // seed for skin, hair, eyes and clothing
};

// The first `count` heroes (at most kMaxHeroRecords - 3, the catalogue's room for heroes).
std::vector<DemoHero> DemoHeroes(size_t count = kDemoRosterSize);

}  // namespace qm::demo
