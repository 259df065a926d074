// The editor's process-wide state: where the game is, which archives hold its data, whom to
// greet, the message panel, the hero catalogue and the record the main window shows. Start-up
// fills it before the main window exists; the main window's commands read and change it.
//
//   qm::EditorState& s = qm::Editor();
//   qm::InitialiseEditorState(&s, host, login_name);   // start-up, after the language file
//   s.paths.working_archive                            // every save and wipe goes here
//   s.selected += 10; qm::ClampSelection(&s);          // browsing: store any number, then clamp
//   s.catalogue.SetName(qm::SelectedIndex(s), text);   // edits name their record
//
// InitialiseEditorState, in order: clear the panel; locate the game (shell/game_search.h);
// give the folder its trailing separator; derive the archive paths (heroes/game_paths.h);
// choose the display name and greet on line 0; load the catalogue (on failure lines 2 and 3
// say the game data was not found); clamp the selection; the banner on line 5.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "shell/game_search.h"
#include "shell/status_text.h"

namespace qm {

constexpr const char* kBanner = "                  < Programmed in Native WinAPI >";

struct EditorState {
  GamePaths paths;
  float game_version = 0.0f;
  bool nt_platform = true;
  std::string display_name;
  StatusLines status;
  HeroCatalogue catalogue;
  // The record the main window shows. Browsing stores any number here and then clamps it.
  int selected = 0;
};

EditorState& Editor();

void InitialiseEditorState(EditorState* state, const GameSearchHost& host,
                           const std::optional<std::string>& login_name,
                           const OverlongReport& overlong = {});

// 1,000 or more becomes 999; then, with records, below 1 becomes 1 and count or more count - 1;
// without records 0. True when the selection changed. Record 0, the table's header row, is thus
// never shown while there are heroes, and a load starts on the pseudo-hero "dead".
bool ClampSelection(EditorState* state);

// The selection as the catalogue's record index. A selection outside the catalogue (a record
// count lowered by MakeSFX, a negative number) names no record, so the catalogue refuses edits.
size_t SelectedIndex(const EditorState& state);
// The selected record; null when the selection lies outside the catalogue.
const HeroRecord* SelectedRecord(const EditorState& state);

// The archive paths for a game folder (which gets its trailing separator); the working archive
// chosen with PATCH is replaced as well.
void SetGameFolder(EditorState* state, const std::string& folder);

}  // namespace qm
