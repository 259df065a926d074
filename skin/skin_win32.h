// The dialog skin: the editor's windows draw themselves from bitmaps instead of the system's
// frame and control look. This header is what the main window procedure and the picture code
// call.
//
// Life cycle (main window procedure):
//   WM_CREATE:   SetControl(kSlotMainWindow, hwnd);           // controls_win32.h
//                if (!qm::skin::SkinStart(hwnd, selected)) { ...  "Can't initialize dialog skin." }
//   WM_DESTROY:  qm::skin::SkinRelease();
//   WM_PAINT, WM_ERASEBKGND, WM_ACTIVATEAPP:
//                qm::skin::AnswerMainWindowDrawing(hwnd, msg, game_folder, working_archive, &result)
//   WM_CTLCOLOR*: if (qm::skin::AnswerColourMessage(msg, wp, lp, &result)) return result;
//   WM_LBUTTONDOWN: qm::skin::StartWindowDrag(hwnd, lp); return 0;
//   WM_DRAWITEM / WM_MEASUREITEM: controls_win32.h
//
// Bitmaps: the ten skin bitmaps live from SkinStart to SkinRelease. The face view bitmaps are
// what controls 1019 and 1020 show; the picture code paints faces into them with
// WritePicture (bitmap_pixels_win32.h) and then repaints the control.
//
// Pixel shading on a DC works on the rectangle's pixels in one read and one write (never pixel
// by pixel through GetPixel/SetPixel), with the same result as the per-pixel rule of
// skin/pixel_shade.h. Coordinates are inclusive; a first coordinate above the last does nothing.
//
// Platform flag: SetNtPlatform(false) before SkinStart makes every control brush a solid
// brush of the panel colour (systems that cannot make pattern brushes of any size).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/handles_win32.h"
#include "heroes/face_size.h"

namespace qm::skin {

// The ten skin bitmaps, in load order.
enum class SkinImage : int {
  kMainBackdrop = 0,   // resource 102, 540 x 440: background and outline of the main window
  kButtonSheet = 1,    // resource 103, 48 x 82: check boxes, arrows, caption buttons
  kScratch = 2,        // no resource: composition surface, same format as the main backdrop
  kLargeFaceView = 3,  // resource 104, 82 x 82 24-bit: shown by control 1019
  kSmallFaceView = 4,  // resource 105, 52 x 52 24-bit: shown by control 1020
  kLargeMask = 5,      // resource 215, 82 x 82 1-bit
  kSmallMask = 6,      // resource 214, 52 x 52 1-bit
  kPanelBackdrop = 7,  // resource 216, 480 x 240: about and option panels
  kLargeOverlay = 8,   // resource 218, 82 x 82 256 greys
  kSmallOverlay = 9,   // resource 219, 52 x 52 256 greys
};
constexpr int kSkinImageCount = 10;

// Bitmap resource ids of the skin images (0: made, not loaded).
constexpr int kSkinImageResource[kSkinImageCount] = {102, 103, 0, 104, 105, 215, 214, 216, 218, 219};

// Colours (COLORREF: red in the low byte).
constexpr COLORREF kKeyColour = RGB(255, 0, 255);
constexpr COLORREF kPanelColour = RGB(255, 251, 206);
constexpr COLORREF kDisabledTextColour = RGB(213, 213, 213);
constexpr COLORREF kButtonLabelColour = RGB(10, 10, 80);
constexpr COLORREF kDisabledLabelShadow = RGB(206, 223, 231);
constexpr COLORREF kDisabledLabelColour = RGB(130, 130, 148);

enum class ButtonState : int { kNormal = 0, kPressed = 1, kDisabled = 2 };
constexpr int kButtonFill = 25;

// ---- start and release ----------------------------------------------------------------------

void SetNtPlatform(bool nt);
bool NtPlatform();

// Loads the bitmaps, cuts the three window shapes, builds the main window's controls (the
// number box shows `selected_record`) and gives the main window and the caption buttons their
// shapes. The main window must already be in slot 0. False: nothing usable; the caller reports
// "Can't initialize dialog skin." and quits. A failed start releases what it made.
bool SkinStart(HWND main_window, int selected_record);
// Deletes every skin bitmap, control brush and the font. Safe to call twice.
void SkinRelease();

HBITMAP Image(SkinImage which);  // null before SkinStart / after SkinRelease
HBITMAP FaceViewBitmap(FaceKind kind);
HBITMAP MaskBitmap(FaceKind kind);
HBITMAP OverlayBitmap(FaceKind kind);
HFONT SkinFont();  // null until the control build made it

// The skin font's weight from its string: a decimal number from 0 to 1,000, anything else the
// default weight.
int ParseFontWeight(const char* text);

// ---- main window ----------------------------------------------------------------------------

// WM_PAINT of the main window: backdrop, the two path labels and the two face labels.
void PaintMainWindow(HWND main_window, std::string_view game_folder,
                     std::string_view working_archive);
// The path as the main window shows it: upper case, one trailing backslash dropped, "/" for
// "\", at most 47 characters.
std::string PathLabel(std::string_view path);

// Invalidates the two caption buttons (slots 2 and 3) without erasing.
void RefreshCaptionButtons();

// The main window's drawing messages: WM_PAINT paints it (PaintMainWindow), WM_ERASEBKGND does
// nothing (the backdrop covers the window), WM_ACTIVATEAPP redraws the caption buttons and then
// goes on to the default handling. True when the message is answered (`*result` set).
bool AnswerMainWindowDrawing(HWND main_window, UINT message, std::string_view game_folder,
                             std::string_view working_archive, LRESULT* result);

// WM_LBUTTONDOWN of a skinned window: lets the system move the window as by its caption.
void StartWindowDrag(HWND window, LPARAM client_point);

// ---- colour replies ---------------------------------------------------------------------------

HBRUSH ControlColourReply(HDC dc, HWND control);  // EDIT, STATIC, DLG, MSGBOX
HBRUSH ListColourReply(HDC dc, HWND control);     // LISTBOX, SCROLLBAR
HBRUSH ButtonColourReply(HDC dc);                 // BTN
// Answers any WM_CTLCOLOR* message with the right reply; false for other messages.
bool AnswerColourMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

// ---- primitives -----------------------------------------------------------------------------

// The region of the non-key pixels of (left, top, width, height) of the bitmap selected into
// `dc`, relative to the area's top-left corner. Empty handle on failure.
GdiRegion KeyColourRegion(HDC dc, int left, int top, int width, int height);

// Copies the source area to the destination, leaving the destination where the source is
// `key`. Draws nothing when its temporary bitmaps cannot be made. Returns true always.
bool TransparentCopy(HDC dest, int left, int top, int width, int height, HDC source,
                     int source_left, int source_top, COLORREF key);

void BrightenPixel(HDC dc, int x, int y, int amount);
void BrightenHLine(HDC dc, int x1, int x2, int y, int amount);
void BrightenVLine(HDC dc, int x, int y1, int y2, int amount);
void BrightenRect(HDC dc, int x1, int y1, int x2, int y2, int amount);
void GreyPixel(HDC dc, int x, int y);
void GreyHLine(HDC dc, int x1, int x2, int y);
void GreyRect(HDC dc, int x1, int y1, int x2, int y2);

// Shades a button face over the rectangle (left, top) .. (right, bottom) inclusive of `dc`
// and draws its label centred in the skin font.
void DrawButtonFace(HDC dc, int left, int top, int right, int bottom, const char* label,
                    int fill, ButtonState state);

// Makes the brush of control slot `slot`: a pattern cut from `backdrop` at (left, top, width,
// height), lightened by 15 when `lighten`; a solid panel-colour brush on non-NT systems.
// Replaces (and deletes) the slot's earlier brush. False when nothing could be made.
bool MakeControlBrush(HBITMAP backdrop, int slot, int left, int top, int width, int height,
                      bool lighten);
HBRUSH ControlBrush(int slot);
// Puts a solid panel-colour brush into slot 0 (list boxes and scroll bars).
bool MakeListBrush();

}  // namespace qm::skin
