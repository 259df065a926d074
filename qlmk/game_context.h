// What the hero and face commands share: finding the game from --game and --archive, loading
// the catalogue with warnings on stderr, naming a record by index or keyword, the editor's
// message texts, and saving.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "qlmk/command.h"
#include "qlmk/hero_text.h"
#include "shell/game_version.h"

namespace qlmk {

// --game and --archive: every command that loads the catalogue takes them.
inline constexpr Option kGameOptions[] = {
    {"--game", "DIR",
     "the game folder (default: the current directory); the working archive is DATA/UPDATES.H4R if present, "
     "else DATA/HEROES4.H4R"},
    {"--archive", "FILE", "use FILE as the working archive instead, as the editor's PATCH does"},
};

// --game alone, for the commands that work on the game folder's own files.
inline constexpr Option kGameFolderOption[] = {
    {"--game", "DIR", "the game folder (default: the current directory)"},
};

struct Game {
  qm::GamePaths paths;
  qm::HeroCatalogue catalogue;
};

// The game's paths from --game and --archive.
qm::GamePaths GamePathsFromArgs(const Args& args);

// Loads the catalogue. A catalogue without heroes (no table) fails with the editor's hint; a
// missing or damaged bundle, unmatched images and over-long values are warnings. Returns
// kExitOk or the exit code to return.
int LoadGame(const Args& args, Game* game);
// --codepage, then LoadGame: the first steps of the commands that show or take hero texts.
int LoadGameWithText(const Args& args, HeroText* text, Game* game);

// Resolves ID (a record number, or a keyword given as UTF-8 text) to a shown record 1 .. count-1.
int ResolveRecord(const qm::HeroCatalogue& catalogue, const HeroText& text, const std::string& id, size_t* index);

// The editor's numbered string (program string table).
std::string EditorText(uint32_t id);

// Saves the catalogue into the working archive and reports as the editor's Save does:
// "Saved Successfully." on stdout, or "Failed to save." with the reason.
int SaveGame(const Game& game);

void Warn(const std::string& message);

// The game version of the folder's HEROES4.EXE, as the stubs compute it (shell/game_version.h).
using qm::GameVersionOfFolder;

}  // namespace qlmk
