// The demo roster's names and biographies in the languages of the other code pages, in UTF-8,
// one entry per hero of the English roster (demo_heroes.cpp) in the same order.
#pragma once

#include "tools/demo_game/demo_heroes.h"

namespace qm::demo {

struct RosterTexts {
  const char* name;
  const char* biography;
};

// Texts of the heroes made beyond the roster: given-name syllables and deeds that follow the
// name ("<name> guards a mountain pass...").
struct GeneratedTexts {
  const char* const* first_syllables;
  size_t first_count;
  const char* const* second_syllables;
  size_t second_count;
  const char* const* deeds;
  size_t deed_count;
};

extern const RosterTexts kRussianRoster[kDemoRosterSize];
extern const GeneratedTexts kRussianGenerated;
extern const RosterTexts kPolishRoster[kDemoRosterSize];
extern const GeneratedTexts kPolishGenerated;

}  // namespace qm::demo
