// The patcher's window: a 480 x 240 popup without a caption bar, class and caption
// "Quillmark SFX", drawn over background bitmap 102, with the DIR button, the read-only folder
// box, the two update buttons and Quit (layout in patcher/patcher_ui.h).
//
// Commands: kIdDir picks the game folder (OK only where HEROES4.EXE is); kIdUpdateText and
// kIdUpdatePortraits ask about an older game first (kPatcherMsgVersionQuestion), apply the
// payload at the end of this program and report kPatcherMsgUpdated or kPatcherMsgUpdateFailed in
// a box; kIdQuit quits; kIdHomePage opens the program's home page. A press anywhere on the
// window drags it.
#pragma once

#include <windows.h>

namespace qm::patcher {

constexpr char kClassName[] = "Quillmark SFX";  // also every caption of the patcher
constexpr WORD kIconId = 101;
constexpr WORD kBackgroundBitmapId = 102;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace qm::patcher
