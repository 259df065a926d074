// The restore tool's program entry. It has no window of its own: it talks to the user through
// message boxes captioned "Quillmark Restore".
//
//   int WINAPI WinMain(HINSTANCE, ...) { return qm::restore::Run(); }
//
// It finds the game (current folder, its own folder, the parent of its own folder since it
// lives in DATA\, then the 1.3/1.2/1.1/1.0 registry keys), checks that there is an update
// archive and that the game is not 1.0, and puts the backup appended to itself back
// (restore/restore_walk.h). Returns 1 when a restore was attempted, 0 when it stopped before.
#pragma once

namespace qm::restore {

constexpr char kCaption[] = "Quillmark Restore";

int Run();

}  // namespace qm::restore
