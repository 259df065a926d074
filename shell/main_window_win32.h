// The editor's main window: its two window classes and the main window procedure.
//
// The main window is a 540 x 440 popup without a caption bar; the skin (skin/skin_win32.h)
// gives it its shape and every control. The procedure records the window in slot 0 of the
// control table when it is created, so start-up can reach it before CreateWindowExA returns.
// Sub windows (the about and option panels) use class "QLMKSUB" with
// qm::skin::PanelWindowProc.
#pragma once

#include <windows.h>

namespace qm {

constexpr char kMainClassName[] = "Quillmark";
constexpr char kSubClassName[] = "QLMKSUB";
constexpr char kProductName[] = "Quillmark";  // also the main window's title
constexpr int kMainWindowWidth = 540;
constexpr int kMainWindowHeight = 440;
constexpr WORD kProgramIconId = 101;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The main window as recorded at its creation; null before and after.
HWND MainWindow();

}  // namespace qm
