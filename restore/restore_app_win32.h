// The restore tool's program entry. It has no window of its own: it talks to the user through
// message boxes captioned "Quillmark Restore".
//
//   int WINAPI WinMain(HINSTANCE, ...) { return qm::restore::Run(); }
//
// Returns 1 when a restore was attempted, 0 when it stopped before.
#pragma once

namespace qm::restore {

constexpr char kCaption[] = "Quillmark Restore";

int Run();

}  // namespace qm::restore
