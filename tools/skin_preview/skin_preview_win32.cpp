// qm_skin_preview: a stand-alone window that shows the skin the way the editor does, for
// looking at it (screenshots under Wine) without the rest of the editor.
//
//   qm_skin_preview.exe [about] [option] [range] [reselect] [dropdown] [disabled] [pressed]
//
// The main window shows a sample hero's faces and a status text; "about" and "option" open
// the panels, "reselect" shows a short class name after a long one, "range" ticks Use X Range and drags its thumb from 80 to 20, "dropdown" opens the
// class list, "disabled" disables the editing controls (a read-only record), "pressed" holds
// the Save button down.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <string>

#include "portrait/bitmap_pixels_win32.h"
#include "portrait/face_art.h"
#include "shell/language.h"
#include "shell/status_text.h"
#include "skin/controls_win32.h"
#include "skin/skin_win32.h"
#include "skin/skinned_window_win32.h"

namespace {

using namespace qm::skin;

qm::StatusLines g_status;
bool g_allowed = true;

// A face to look at: a warm radial gradient inside the face mask.
qm::Picture SampleFace(int size) {
  qm::Picture face(size, size);
  const qm::Picture mask = qm::MakeFaceMask(size);
  const double c = (size - 1) / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / c;
      const int shade = static_cast<int>(220 - 120 * d);
      face.at(x, y) = qm::MakeColour(static_cast<uint32_t>(shade),
                                     static_cast<uint32_t>(shade * 3 / 4),
                                     static_cast<uint32_t>(shade / 2)) &
                      mask.at(x, y);
    }
  }
  return face;
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (AnswerMainWindowDrawing(window, message, "C:\\Games\\Heroes of Might and Magic IV\\",
                              "C:\\Games\\Heroes of Might and Magic IV\\Data\\Updates.h4r", &result)) {
    return result;
  }
  switch (message) {
    case WM_CREATE:
      SetControl(kSlotMainWindow, window);
      if (!SkinStart(window, 42)) {
        MessageBoxA(nullptr, "Can't initialize dialog skin.", "Quillmark", MB_OK);
        PostQuitMessage(-1);
        return -1;
      }
      return 0;
    case WM_DESTROY:
      SkinRelease();
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kIdClose:
          DestroyWindow(window);
          return 0;
        case kIdAbout:
          OpenPanel(window, PanelKind::kAbout);
          return 0;
        case kIdOption:
          OpenPanel(window, PanelKind::kOption);
          return 0;
        default:
          break;
      }
      break;
    default:
      break;
  }
  if (AnswerSkinnedWindowMessage(window, message, wparam, lparam, {&g_status, g_allowed},
                                 &result)) {
    return result;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool HasWord(const char* line, const char* word) { return std::strstr(line, word) != nullptr; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  InitCommonControls();
  qm::Language& language = qm::ProgramLanguage();
  language.SetPrefix(qm::kEditorLanguagePrefix);
  language.Load();
  ClearControlTable();
  g_status = qm::BreakStatusText(
      "Hello, Wanderer.\n\nLoaded large face image.\n\n\n"
      "                  < Programmed in Native WinAPI >");

  WNDCLASSA main_class{};
  main_class.style = CS_DBLCLKS;
  main_class.lpfnWndProc = PreviewProc;
  main_class.hInstance = instance;
  main_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  main_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  main_class.lpszClassName = "Quillmark";
  WNDCLASSA sub_class{};
  sub_class.style = CS_DBLCLKS;
  sub_class.lpfnWndProc = PanelWindowProc;
  sub_class.hInstance = instance;
  sub_class.hCursor = main_class.hCursor;
  sub_class.lpszClassName = "QLMKSUB";
  if (!RegisterClassA(&main_class) || !RegisterClassA(&sub_class)) return 1;

  HWND main = CreateWindowExA(WS_EX_APPWINDOW, "Quillmark", "Quillmark",
                              WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX,
                              (GetSystemMetrics(SM_CXSCREEN) - kMainWidth) / 2,
                              (GetSystemMetrics(SM_CYSCREEN) - kMainHeight) / 2, kMainWidth,
                              kMainHeight, nullptr, nullptr, instance, nullptr);
  if (main == nullptr) return 1;

  WriteBitmapPixels(FaceViewBitmap(qm::FaceKind::kLarge), SampleFace(82));
  WriteBitmapPixels(FaceViewBitmap(qm::FaceKind::kSmall), SampleFace(52));
  SetWindowTextA(Control(kSlotName), "Sir Quill");
  SetWindowTextA(Control(kSlotKeyword), "quill");
  SetWindowTextA(Control(kSlotBiography),
                 "A scribe of the old courts, who learned that a story outlives its teller.");
  SendMessageA(Control(kSlotSex), CB_SETCURSEL, 0, 0);
  SendMessageA(Control(kSlotClass), CB_SETCURSEL, 6, 0);
  if (HasWord(command_line, "disabled")) {
    g_allowed = false;
    for (int slot : {kSlotName, kSlotBiography, kSlotSex, kSlotClass, kSlotAllowedCheck,
                     kSlotAllowedLabel}) {
      EnableWindow(Control(slot), FALSE);
    }
  }
  if (HasWord(command_line, "pressed")) SendMessageA(Control(kSlotSave), BM_SETSTATE, TRUE, 0);
  UpdateWindow(main);
  if (HasWord(command_line, "option")) {
    HWND panel = OpenPanel(main, PanelKind::kOption);
    if (HasWord(command_line, "range")) {
      SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kIdXRangeLabel, STN_CLICKED), 0);
      HWND bar = Control(kSlotXRangeBar);
      const LPARAM from = reinterpret_cast<LPARAM>(bar);
      SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 80), from);
      SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 50), from);
      SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 20), from);
      SendMessageA(bar, TBM_SETPOS, TRUE, 20);
    }
  }
  if (HasWord(command_line, "reselect")) {
    SendMessageA(Control(kSlotClass), CB_SETCURSEL, 11, 0);
    UpdateWindow(Control(kSlotClass));
    SendMessageA(Control(kSlotClass), CB_SETCURSEL, 6, 0);
  }
  if (HasWord(command_line, "dropdown")) SendMessageA(Control(kSlotClass), CB_SHOWDROPDOWN, TRUE, 0);
  if (HasWord(command_line, "about")) OpenPanel(main, PanelKind::kAbout);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  UnregisterClassA("QLMKSUB", instance);
  UnregisterClassA("Quillmark", instance);
  language.Release();
  return static_cast<int>(msg.wParam);
}
