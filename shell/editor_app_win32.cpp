#include "shell/editor_app_win32.h"

#include <commctrl.h>

#include "shell/editor_state.h"
#include "shell/game_search_win32.h"
#include "shell/language.h"
#include "shell/main_window_win32.h"
#include "shell/window_class_win32.h"
#include "shell/window_placement.h"
#include "skin/control_ids.h"
#include "skin/controls_win32.h"

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
  classes.sub = WindowClass(ClassFor(instance, kSubClassName, skin::PanelWindowProc));
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

// The message loop. The update check starts once, the first time the queue runs dry: by then
// the window and every control have been painted, so the check never holds a half-drawn window.
int RunEditorLoop() {
  bool check_posted = false;
  MSG msg;
  for (;;) {
    if (!check_posted && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      check_posted = true;
      if (HWND main = MainWindow()) {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(skin::kIdUpdateCheck, 0), 0);
      }
    }
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

int RunEditor(HINSTANCE instance) {
  InitCommonControls();
  Language& language = ProgramLanguage();
  language.SetPrefix(kEditorLanguagePrefix);
  language.Load();

  skin::ClearControlTable();
  EditorState& state = Editor();
  state.nt_platform = IsNtPlatform();
  InitialiseEditorState(&state, PlatformGameSearchHost(), LoginName(),
                        [](const OverlongValue& value) {
                          MessageBoxA(nullptr, Text(value.message_id), kProductName, MB_OK);
                        });

  EditorClasses classes;
  if (!RegisterClassesAndCreateWindow(instance, classes)) return 0;
  const int code = RunEditorLoop();
  classes.Unregister();
  language.Release();
  return code;
}

}  // namespace qm
