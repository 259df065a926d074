// The editor's program entry: start-up, the message loop and tear-down.
//
//   int WINAPI WinMain(HINSTANCE instance, ...) { return qm::RunEditor(instance); }
//
// Returns the quit message's code after a normal run, 0 when start-up fails (after an error
// box captioned "QUILLMARK ERROR").
#pragma once

#include <windows.h>

namespace qm {

int RunEditor(HINSTANCE instance);

}  // namespace qm
