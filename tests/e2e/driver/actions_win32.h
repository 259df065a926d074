// Acting on a program's windows the way a user would, through messages.
//
//   PostClose(main);                 // WM_CLOSE, as Alt+F4 would
//   PostCommand(main, 1004);         // WM_COMMAND as from a menu or accelerator
//   Click(FindControl(main, 1004));  // BM_CLICK: the button notifies its parent itself
//   PressKey(main, VK_NEXT);         // WM_KEYDOWN + WM_KEYUP
//   SetText(FindControl(main, 1006), "Sir Quill");
//
// Actions that may open a modal window (a click, a command, a key) are posted, never sent, so
// the driver stays free to answer the dialog that opens. Posted keys reach the window
// procedure and TranslateMessage but do not change the keyboard state (GetKeyState).
#pragma once

#include <windows.h>

#include <string>

namespace qm::e2e {

bool PostClose(HWND window);
bool PostCommand(HWND window, int id, int notification = 0, HWND control = nullptr);
bool Click(HWND button);
bool PressKey(HWND window, UINT virtual_key);
// WM_SETTEXT, sent (the program answers at once); false when it does not accept the text.
bool SetText(HWND window, const std::string& text);

}  // namespace qm::e2e
