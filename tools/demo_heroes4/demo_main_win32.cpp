// HEROES4.EXE of the demo game: a stand-in for the game's executable. The demo game folder
// needs a HEROES4.EXE so the editor, the patcher and the restore tool find the game, and its
// version block gives the game version 1.3. Run on its own, it only says what it is.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr,
              "This is Quillmark's demo stand-in for Heroes of Might and Magic IV.\n\n"
              "It marks this folder as a game folder (version 1.3) so that Quillmark and "
              "its tools can be tried without the game. There is no game to play here.",
              "Heroes of Might and Magic IV (Quillmark demo)", MB_OK | MB_ICONINFORMATION);
  return 0;
}
