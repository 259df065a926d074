// The editor's process-wide state: where the game is, which archives hold its data, whom to
// greet, the message panel and the hero catalogue. Start-up fills it before the main window
// exists; the main window's commands read and change it.
//
//   qm::EditorState& s = qm::Editor();
//   qm::InitialiseEditorState(&s, host, login_name);   // start-up, after the language file
//   s.paths.working_archive                            // every save and wipe goes here
//
// InitialiseEditorState, in order: clear the panel; locate the game (shell/game_search.h);
// give the folder its trailing separator; derive the archive paths (heroes/game_paths.h);
// choose the display name and greet on line 0; load the catalogue (on failure lines 2 and 3
// say the game data was not found); clamp the selection; the banner on line 5.
#pragma once

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
};

EditorState& Editor();

void InitialiseEditorState(EditorState* state, const GameSearchHost& host,
                           const std::optional<std::string>& login_name,
                           const OverlongReport& overlong = {});

// The archive paths for a game folder (which gets its trailing separator); the working archive
// chosen with PATCH is replaced as well.
void SetGameFolder(EditorState* state, const std::string& folder);

}  // namespace qm
