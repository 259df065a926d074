#include "patcher/patcher_app_win32.h"

#include <commctrl.h>

#include "patcher/patch_apply.h"
#include "patcher/patcher_ui.h"
#include "patcher/patcher_window_win32.h"
#include "shell/game_search.h"
#include "shell/game_search_win32.h"
#include "shell/language.h"
#include "shell/window_class_win32.h"
#include "shell/window_placement.h"

namespace qm::patcher {
namespace {

void ShowError(const char* text) { MessageBoxA(nullptr, text, kClassName, MB_OK | MB_ICONHAND); }

}  // namespace

PatcherState& Patcher() {
  static PatcherState state;
  return state;
}

int Run(HINSTANCE instance) {
  InitCommonControls();
  Language& language = ProgramLanguage();
  language.SetPrefix(kPatcherLanguagePrefix);
  language.Load();

  PatcherState& state = Patcher();
  state.nt_platform = IsNtPlatform();
  const GameSearch found = LocateStubGame(PlatformGameSearchHost(), kPatcherRegistryKeys, false);
  if (found.found) {
    state.game_folder = found.folder;
    state.target_archive = TargetArchiveForGame(state.game_folder);
  }

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
    language.Release();
    return 0;
  }

  const WindowOrigin at = CentredOrigin(ScreenWidth(), ScreenHeight(), kWindowWidth, kWindowHeight);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, kClassName, kClassName,
                                WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX, at.left,
                                at.top, kWindowWidth, kWindowHeight, nullptr, nullptr, instance,
                                nullptr);
  if (window == nullptr) {
    window_class.Unregister();
    ShowError("CreateWindow() failed!");
    language.Release();
    return 0;
  }
  // A normal end (quit code 0) returns 1; a window that could not set itself up quits with
  // its own code (-1), which is passed on.
  const int code = RunMessageLoop();
  window_class.Unregister();
  language.Release();
  return code == 0 ? 1 : code;
}

}  // namespace qm::patcher
