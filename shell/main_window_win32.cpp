#include "shell/main_window_win32.h"

#include <optional>

#include "portrait/clipboard_win32.h"
#include "shell/command_rules.h"
#include "shell/editor_state.h"
#include "shell/main_commands_win32.h"
#include "shell/backup.h"
#include "shell/patcher_and_backup_win32.h"
#include "shell/record_view_win32.h"
#include "skin/controls_win32.h"
#include "skin/skin_win32.h"
#include "skin/skinned_window_win32.h"

namespace qm {
namespace {

using namespace qm::skin;

// Keeps the control's procedure in its user data, where the new one finds it.
void Subclass(HWND control, WNDPROC procedure) {
  if (control == nullptr) return;
  const LONG_PTR previous = GetWindowLongPtrA(control, GWLP_WNDPROC);
  SetWindowLongPtrA(control, GWLP_USERDATA, previous);
  SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

void ConnectFaceDrops() {
  FaceDropHost host;
  host.current_edit = []() -> std::optional<FaceEdit> {
    if (Editor().catalogue.empty()) return std::nullopt;
    return BeginFaceEdit();
  };
  host.store_faces = StoreFaces;
  host.show_status = [](uint32_t id) { ShowStatusString(id); };
  SetFaceDropHost(std::move(host));
  Subclass(Control(kSlotLargeFace), LargeFaceDropProc);
  Subclass(Control(kSlotSmallFace), SmallFaceDropProc);
}

LRESULT OnCreate(HWND window) {
  SetControl(kSlotMainWindow, window);
  EditorState& state = Editor();
  SetNtPlatform(state.nt_platform);
  if (!SkinStart(window, state.selected)) {
    MessageBoxA(window, "Can't initialize dialog skin.", kProductName, MB_OK);
    PostQuitMessage(-1);
    return 0;
  }
  ConnectFaceDrops();
  ShowRecord(state.selected, true);
  RefreshFaces(true);
  PublishStatus();
  OfferBackup(window, state.paths.game_folder + kRestoreToolRelativePath, state.paths.working_archive);
  return 0;
}

void OnKeyDown(HWND window, WPARAM key) {
  const std::optional<KeyAction> action = KeyboardAction(static_cast<unsigned>(key));
  if (!action) return;
  EditorState& state = Editor();
  state.selected = action->set_selection ? action->value : state.selected + action->value;
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(action->command, 0), 0);
}

void OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
  const int id = LOWORD(wparam);
  const int code = HIWORD(wparam);
  const bool nonempty = !Editor().catalogue.empty();
  if (RepaintsBiography(id, code, nonempty)) RepaintSlot(kSlotBiography, true);
  if (!CommandGoesOn(id, code, nonempty)) {
    DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    return;
  }
  RunMainCommand(window, id);
}

}  // namespace

HWND MainWindow() { return Control(kSlotMainWindow); }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (AnswerMainWindowDrawing(window, message, Editor().paths.game_folder, Editor().paths.working_archive, &result)) {
    return result;
  }
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;  // then default handling
    case WM_DESTROY:
      SkinRelease();
      SetControl(kSlotMainWindow, nullptr);
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(window, wparam);
      return 0;
    case WM_COMMAND:
      OnCommand(window, wparam, lparam);
      return 0;
    default:
      break;
  }
  if (AnswerSkinnedWindowMessage(window, message, wparam, lparam,
                                 {&Editor().status, MainView().allowed}, &result)) {
    return result;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace qm
