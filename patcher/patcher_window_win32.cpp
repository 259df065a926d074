#include "patcher/patcher_window_win32.h"

namespace qm::patcher {
namespace {

// The colour the patcher's controls sit on; the background bitmap replaces this plain fill.
constexpr COLORREF kBackdropColour = RGB(180, 20, 8);

void PaintBackground(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) return;
  HBRUSH brush = CreateSolidBrush(kBackdropColour);
  if (brush != nullptr) {
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
  }
  EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      PaintBackground(window);
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_LBUTTONDOWN: {
      // No caption bar: a press anywhere drags the window.
      POINT cursor;
      GetCursorPos(&cursor);
      SetCursor(LoadCursorA(nullptr, IDC_SIZEALL));
      PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace qm::patcher
