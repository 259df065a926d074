#include "shell/main_window_win32.h"

namespace qm {
namespace {

HWND g_main_window = nullptr;

// The parchment tone of the panels; the skin's backdrop replaces this plain fill.
constexpr COLORREF kPanelColour = RGB(255, 251, 206);

void PaintBackground(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) return;
  HBRUSH brush = CreateSolidBrush(kPanelColour);
  if (brush != nullptr) {
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
  }
  EndPaint(window, &ps);
}

}  // namespace

HWND MainWindow() { return g_main_window; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      g_main_window = window;
      break;
    case WM_DESTROY:
      g_main_window = nullptr;
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      PaintBackground(window);
      return 0;
    case WM_ERASEBKGND:
      return 0;  // WM_PAINT covers every pixel
    case WM_LBUTTONDOWN: {
      // No caption bar: a press anywhere drags the window, as a press on a caption would.
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

LRESULT CALLBACK SubWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace qm
