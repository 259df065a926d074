#include "patcher/patcher_app_win32.h"

#include <commctrl.h>

#include "patcher/patcher_window_win32.h"
#include "shell/window_class_win32.h"
#include "shell/window_placement.h"

namespace qm::patcher {
namespace {

void ShowError(const char* text) { MessageBoxA(nullptr, text, kClassName, MB_OK | MB_ICONHAND); }

}  // namespace

int Run(HINSTANCE instance) {
  InitCommonControls();
  // The language file, the platform flag and the game's location are set up before the window
  // class is registered.
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconId));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  WindowClass window_class(wc);
  if (!window_class.registered()) {
    ShowError("RegisterClass() failed!");
    return 0;
  }

  const WindowOrigin at = CentredOrigin(ScreenWidth(), ScreenHeight(), kWindowWidth, kWindowHeight);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, kClassName, kClassName,
                                WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX, at.left,
                                at.top, kWindowWidth, kWindowHeight, nullptr, nullptr, instance,
                                nullptr);
  if (window == nullptr) {
    ShowError("CreateWindow() failed!");
    return 0;  // the class is unregistered on the way out
  }
  // A normal end (quit code 0) returns 1; a window that could not set itself up quits with
  // its own code (-1), which is passed on.
  const int code = RunMessageLoop();
  return code == 0 ? 1 : code;
}

}  // namespace qm::patcher
