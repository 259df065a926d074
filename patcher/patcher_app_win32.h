// The patcher's program entry: start-up, the message loop and tear-down.
//
//   int WINAPI WinMain(HINSTANCE instance, ...) { return qm::patcher::Run(instance); }
//
// Returns 1 after the message loop ends normally, the quit code when the window ended the
// program with one (-1 when its skin could not be set up), 0 when start-up fails (after an
// error box captioned "Quillmark SFX").
#pragma once

#include <windows.h>

namespace qm::patcher {

int Run(HINSTANCE instance);

}  // namespace qm::patcher
