// The patcher's program entry and the state its window works on.
//
//   int WINAPI WinMain(HINSTANCE instance, ...) { return qm::patcher::Run(instance); }
//
// Start-up: common controls, the "QLSX" language file, the platform flag, the game search
// (current folder, own folder, the 1.2/1.1/1.0 registry keys), then the window and its message
// loop. Returns 1 after the message loop ends normally, the quit code when the window ended the
// program with one (-1 when its skin could not be set up), 0 when start-up fails (after an
// error box captioned "Quillmark SFX").
#pragma once

#include <windows.h>

#include <string>

namespace qm::patcher {

struct PatcherState {
  std::string game_folder;     // ends in a backslash; empty while no game is known
  std::string target_archive;  // the archive the updates go into
  bool nt_platform = true;     // selects how the folder box's background is made
};

PatcherState& Patcher();

int Run(HINSTANCE instance);

}  // namespace qm::patcher
