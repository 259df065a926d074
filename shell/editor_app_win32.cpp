#include "shell/editor_app_win32.h"

#include <commctrl.h>

#include "shell/main_window_win32.h"
#include "shell/window_class_win32.h"
#include "shell/window_placement.h"

namespace qm {
namespace {

void ShowStartupError(const char* text) {
  MessageBoxA(nullptr, text, "QUILLMARK ERROR", MB_OK | MB_ICONHAND);
}

WNDCLASSA ClassFor(HINSTANCE instance, const char* name, WNDPROC procedure) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return wc;
}

// The two classes, registered for as long as the program runs.
struct EditorClasses {
  WindowClass main;
  WindowClass sub;

  // Main class first on the way out, then the sub class.
  void Unregister() {
    main.Unregister();
    sub.Unregister();
  }
};

bool RegisterClassesAndCreateWindow(HINSTANCE instance, EditorClasses& classes) {
  WNDCLASSA main_wc = ClassFor(instance, kMainClassName, MainWindowProc);
  main_wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
  main_wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  classes.main = WindowClass(main_wc);
  if (!classes.main.registered()) {
    ShowStartupError("RegisterClass() failed!");
    return false;
  }
  classes.sub = WindowClass(ClassFor(instance, kSubClassName, SubWindowProc));
  if (!classes.sub.registered()) {
    ShowStartupError("SubRegisterClass() failed!");
    classes.main.Unregister();
    return false;
  }

  const WindowOrigin at =
      CentredOrigin(ScreenWidth(), ScreenHeight(), kMainWindowWidth, kMainWindowHeight);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, kMainClassName, kProductName,
                                WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX, at.left,
                                at.top, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) {
    classes.Unregister();
    ShowStartupError("CreateWindow() failed!");
    return false;
  }
  UpdateWindow(MainWindow());
  return true;
}

}  // namespace

int RunEditor(HINSTANCE instance) {
  InitCommonControls();
  // Language file and application state (game folder, archives, greeting) come here.
  EditorClasses classes;
  if (!RegisterClassesAndCreateWindow(instance, classes)) return 0;
  const int code = RunMessageLoop();
  classes.Unregister();
  return code;
}

}  // namespace qm
