// The messages every skinned window of the editor (the main window, the about and option panels
// and the skin preview) answers the same way: a press anywhere drags the window (none has a
// caption bar), owner-drawn controls are drawn and measured by the skin, and the colour
// messages get the skin's brushes and text colours.
//
//   LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
//     switch (msg) { ...the window's own messages... }
//     LRESULT result = 0;
//     if (qm::skin::AnswerSkinnedWindowMessage(hwnd, msg, wp, lp, {&status, allowed}, &result)) {
//       return result;
//     }
//     return DefWindowProcA(hwnd, msg, wp, lp);
//   }
#pragma once

#include <windows.h>

#include "skin/controls_win32.h"

namespace qm::skin {

// WM_LBUTTONDOWN (drag, 0), WM_DRAWITEM (DrawItem with `items`, 1), WM_MEASUREITEM (1) and the
// WM_CTLCOLOR* replies. True with *result set when the message was answered; false for any
// other message, which the window procedure passes on.
bool AnswerSkinnedWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                const MainItemState& items, LRESULT* result);

}  // namespace qm::skin
