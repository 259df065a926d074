// Finding the game at start-up: the current directory, then the program's own folder, then the
// folders the game's installers recorded in the registry.
//
//   qm::GameSearchHost host = qm::PlatformGameSearchHost();   // game_search_win32.cpp
//   qm::GameSearch found = qm::LocateGame(host);
//   found.folder    where the search stopped (left as the last candidate when nothing was found)
//   found.found     HEROES4.EXE or HEROES4K.EXE exists there
//   found.version   the game version read from it (0 when unreadable or not found)
//
// A candidate folder is tested by making it the current directory and asking for the two
// executables by their relative names; with both present HEROES4K.EXE gives the version.
// Registry candidates are the "AppPath" values of kGameRegistryKeys, newest game first; one
// trailing backslash is removed from such a path before it is tested. The current directory is
// left wherever the search ended.
//
// The host is a seam over the operating system so the search can be tested without one.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

// Game folder, path buffers of the original layout: 259 characters and a terminator.
constexpr size_t kGamePathMaxChars = 259;
// Display names read from the registry or the login: 258 characters and a terminator.
constexpr size_t kDisplayNameMaxChars = 258;

constexpr std::array<const char*, 4> kGameRegistryKeys = {
    "Software\\New World Computing\\Heroes of Might and Magic IV\\1.3",
    "Software\\New World Computing\\Heroes of Might and Magic IV\\1.2",
    "Software\\New World Computing\\Heroes of Might and Magic IV\\1.1",
    "Software\\New World Computing\\Heroes of Might and Magic IV\\1.0",
};
// The patcher looks for the game under these keys only (the 1.3 key is not its business).
constexpr std::array<const char*, 3> kPatcherRegistryKeys = {
    kGameRegistryKeys[1], kGameRegistryKeys[2], kGameRegistryKeys[3]};
constexpr const char* kAppPathValue = "AppPath";
constexpr const char* kNetworkNameValue = "Network Default Name";
constexpr const char* kGameExecutable = "HEROES4.EXE";
constexpr const char* kGameExecutableKorean = "HEROES4K.EXE";

struct GameSearchHost {
  std::function<std::string()> current_directory;
  std::function<std::string()> program_path;                // the running program's file
  std::function<bool(const std::string&)> set_current_directory;
  std::function<bool(const std::string&)> exists;           // relative to the current directory
  std::function<float(const std::string&)> read_version;    // 0 when unreadable
  // A value of a key under HKEY_LOCAL_MACHINE; nullopt when the key or value cannot be read.
  std::function<std::optional<std::string>(const char* key, const char* value)> read_machine_value;
};

struct GameSearch {
  bool found = false;
  std::string folder;
  float version = 0.0f;
};

GameSearch LocateGame(const GameSearchHost& host);

// Tests the current directory; sets *version when an executable is there.
bool DetectGameHere(const GameSearchHost& host, float* version);

// The two stubs' search (the patcher and the restore tool): HEROES4.EXE alone marks the game.
// Candidates in order: the current directory; the program's own folder (made current); with
// `try_parent_folder`, the parent of that folder (the restore tool lives in the game's DATA
// folder); then the "AppPath" of each of `keys` (made current, one trailing backslash dropped).
// When found, `folder` ends in exactly one separator (a backslash unless it ends in `/`);
// otherwise it is empty. No version is read.
GameSearch LocateStubGame(const GameSearchHost& host, std::span<const char* const> keys,
                          bool try_parent_folder);

// The "Network Default Name" values of the game keys that can be read, newest game first
// (shell/display_name.h picks from them).
std::vector<std::string> NetworkNames(const GameSearchHost& host);

}  // namespace qm
