// Shared state of the skin's Win32 files (not for callers outside skin/).
#pragma once

#include <windows.h>

#include "base/handles_win32.h"
#include "skin/control_layout.h"
#include "skin/skin_win32.h"

namespace qm::skin::internal {

// Takes ownership of the skin font (the control build makes it).
void SetSkinFont(GdiFont font);
// The instance whose resources the skin loads: the main window's module.
HINSTANCE SkinInstance();

// Copies (left, top, width, height) of `backdrop` to (dest_x, dest_y) of `dest`.
bool CopyFromBitmap(HDC dest, int dest_x, int dest_y, int width, int height, HBITMAP backdrop,
                    int left, int top);

// The rectangle of `control` in the client coordinates of `window`.
RECT RectIn(HWND window, HWND control);

// The skin's text of a string id (the Text lookup) drawn at a point, in the DC's current font,
// colour and alignment.
void DrawString(HDC dc, int x, int y, const char* text);

// Creates one control of a layout table as a child of `parent` and records it in its slot.
// Edit boxes and combo boxes also get their brush cut from `backdrop` (lightened), the skin
// font and their text limit; combo boxes are subclassed. Null when the control or its brush
// cannot be made.
HWND CreateControl(const ControlPlacement& placement, HWND parent, HBITMAP backdrop);

// WM_PAINT of the about panel.
void PaintAboutPanel(HWND panel);

}  // namespace qm::skin::internal
