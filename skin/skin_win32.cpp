// The skin's life cycle and the main window's own drawing: skin bitmaps, window shapes,
// control brushes, colour replies and the main window's background with its labels.
#include "skin/skin_win32.h"

#include <array>
#include <cstdlib>
#include <string>

#include "portrait/bitmap_pixels_win32.h"
#include "resources/string_ids.h"
#include "shell/language.h"
#include "skin/control_layout.h"
#include "skin/controls_win32.h"
#include "skin/skin_internal_win32.h"
#include "skin/skin_text.h"

namespace qm::skin {
namespace {

struct SkinState {
  std::array<GdiBitmap, kSkinImageCount> images;
  std::array<GdiBrush, kControlSlots> brushes;
  GdiFont font;
  bool nt = true;
  HINSTANCE instance = nullptr;
};

SkinState& State() {
  static SkinState state;
  return state;
}

bool LoadImages() {
  SkinState& s = State();
  for (int i = 0; i < kSkinImageCount; ++i) {
    if (i == static_cast<int>(SkinImage::kScratch)) {
      s.images[i] = DuplicateBitmap(s.images[0].get(), true);
    } else {
      s.images[i].reset(LoadBitmapA(s.instance, MAKEINTRESOURCEA(kSkinImageResource[i])));
    }
    if (!s.images[i]) return false;
  }
  return true;
}

// The key-colour region of an area of a skin bitmap.
GdiRegion RegionOf(HBITMAP bitmap, int left, int top, int width, int height) {
  MemoryDc dc(nullptr);
  if (!dc) return {};
  SelectInDc keep(dc.get(), bitmap);
  if (!keep.ok()) return {};
  return KeyColourRegion(dc.get(), left, top, width, height);
}

void GiveRegion(HWND window, GdiRegion region) {
  // The window owns the region once SetWindowRgn succeeds.
  if (window != nullptr && SetWindowRgn(window, region.get(), FALSE) != 0) region.release();
}

}  // namespace

namespace internal {

void SetSkinFont(GdiFont font) { State().font = std::move(font); }

HINSTANCE SkinInstance() { return State().instance; }

bool CopyFromBitmap(HDC dest, int dest_x, int dest_y, int width, int height, HBITMAP backdrop,
                    int left, int top) {
  MemoryDc source(dest);
  if (!source || backdrop == nullptr) return false;
  SelectInDc keep(source.get(), backdrop);
  if (!keep.ok()) return false;
  return BitBlt(dest, dest_x, dest_y, width, height, source.get(), left, top, SRCCOPY) != 0;
}

RECT RectIn(HWND window, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  POINT top_left = {r.left, r.top};
  ScreenToClient(window, &top_left);
  return {top_left.x, top_left.y, top_left.x + (r.right - r.left),
          top_left.y + (r.bottom - r.top)};
}

void DrawString(HDC dc, int x, int y, const char* text) {
  if (text == nullptr) return;
  const std::string_view view(text);
  TextOutA(dc, x, y, text, static_cast<int>(view.size()));
}

}  // namespace internal

void SetNtPlatform(bool nt) { State().nt = nt; }
bool NtPlatform() { return State().nt; }

HBITMAP Image(SkinImage which) {
  const int i = static_cast<int>(which);
  return (i >= 0 && i < kSkinImageCount) ? State().images[i].get() : nullptr;
}
HBITMAP FaceViewBitmap(FaceKind kind) {
  return Image(kind == FaceKind::kLarge ? SkinImage::kLargeFaceView : SkinImage::kSmallFaceView);
}
HBITMAP MaskBitmap(FaceKind kind) {
  return Image(kind == FaceKind::kLarge ? SkinImage::kLargeMask : SkinImage::kSmallMask);
}
HBITMAP OverlayBitmap(FaceKind kind) {
  return Image(kind == FaceKind::kLarge ? SkinImage::kLargeOverlay : SkinImage::kSmallOverlay);
}
HFONT SkinFont() { return State().font.get(); }

int ParseFontWeight(const char* text) {
  // A decimal number as the C library reads it; anything unreadable is the default weight.
  char* end = nullptr;
  const long weight = std::strtol(text, &end, 10);
  if (end == text || weight < 0 || weight > 1000) return FW_DONTCARE;
  return static_cast<int>(weight);
}

bool SkinStart(HWND main_window, int selected_record) {
  SkinState& s = State();
  SkinRelease();
  s.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(main_window, GWLP_HINSTANCE));
  if (s.instance == nullptr) s.instance = GetModuleHandleA(nullptr);

  bool ok = LoadImages();
  GdiRegion main_shape, minimize_shape, close_shape;
  if (ok) {
    HBITMAP sheet = Image(SkinImage::kButtonSheet);
    main_shape = RegionOf(Image(SkinImage::kMainBackdrop), 0, 0, kMainWidth, kMainHeight);
    minimize_shape = RegionOf(sheet, kMinimizeShapeCell.x, kMinimizeShapeCell.y,
                              kCaptionCellWidth, kCaptionCellHeight);
    close_shape = RegionOf(sheet, kCloseShapeCell.x, kCloseShapeCell.y, kCaptionCellWidth,
                           kCaptionCellHeight);
    ok = main_shape && minimize_shape && close_shape;
  }
  ok = ok && BuildMainControls(main_window, selected_record);
  if (!ok) {
    SkinRelease();
    return false;
  }
  GiveRegion(Control(kSlotMainWindow), std::move(main_shape));
  GiveRegion(Control(kSlotMinimize), std::move(minimize_shape));
  GiveRegion(Control(kSlotClose), std::move(close_shape));
  return true;
}

void SkinRelease() {
  SkinState& s = State();
  for (GdiBitmap& image : s.images) image.reset();
  for (GdiBrush& brush : s.brushes) brush.reset();
  s.font.reset();
}

// ---- main window ----------------------------------------------------------------------------

std::string PathLabel(std::string_view path) {
  std::string upper(path);
  if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return PathLabelOfUpper(upper);
}

void PaintMainWindow(HWND main_window, std::string_view game_folder,
                     std::string_view working_archive) {
  PaintDc paint(main_window);
  HDC dc = paint.dc();
  if (dc == nullptr) return;
  internal::CopyFromBitmap(dc, 0, 0, kMainWidth, kMainHeight, Image(SkinImage::kMainBackdrop), 0,
                           0);
  SetBkMode(dc, TRANSPARENT);
  SelectInDc keep_font(dc, SkinFont());
  SetTextColor(dc, RGB(0, 0, 0));
  internal::DrawString(dc, 102, 249, PathLabel(game_folder).c_str());
  internal::DrawString(dc, 102, 269, PathLabel(working_archive).c_str());
  for (const PaintedText& caption : {kLargeFaceCaption, kSmallFaceCaption}) {
    internal::DrawString(dc, caption.left, caption.top, Text(caption.label));
  }
}

void RefreshCaptionButtons() {
  for (int slot : {kSlotMinimize, kSlotClose}) {
    if (HWND w = Control(slot)) InvalidateRect(w, nullptr, FALSE);
  }
}

bool AnswerMainWindowDrawing(HWND main_window, UINT message, std::string_view game_folder,
                             std::string_view working_archive, LRESULT* result) {
  switch (message) {
    case WM_PAINT:
      PaintMainWindow(main_window, game_folder, working_archive);
      *result = 0;
      return true;
    case WM_ERASEBKGND: *result = 0; return true;
    case WM_ACTIVATEAPP: RefreshCaptionButtons(); return false;
    default: return false;
  }
}

void StartWindowDrag(HWND window, LPARAM client_point) {
  POINT p = {static_cast<short>(LOWORD(client_point)), static_cast<short>(HIWORD(client_point))};
  ClientToScreen(window, &p);
  PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION,
               MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32646)));  // IDC_SIZEALL
}

// ---- brushes and colour replies -----------------------------------------------------------

bool MakeControlBrush(HBITMAP backdrop, int slot, int left, int top, int width, int height,
                      bool lighten) {
  if (slot < 0 || slot >= kControlSlots) return false;
  GdiBrush brush;
  if (NtPlatform()) {
    int bits = 0, planes = 0;
    {
      WindowDc dc(Control(slot));
      if (!dc) return false;
      bits = GetDeviceCaps(dc.get(), BITSPIXEL);
      planes = GetDeviceCaps(dc.get(), PLANES);
    }
    GdiBitmap pattern(CreateBitmap(width, height, static_cast<UINT>(planes),
                                   static_cast<UINT>(bits), nullptr));
    if (!pattern) return false;
    {
      MemoryDc dc(nullptr);
      if (!dc) return false;
      SelectInDc keep(dc.get(), pattern.get());
      if (!keep.ok()) return false;
      internal::CopyFromBitmap(dc.get(), 0, 0, width, height, backdrop, left, top);
      if (lighten) BrightenRect(dc.get(), 0, 0, width - 1, height - 1, 15);
    }
    brush.reset(CreatePatternBrush(pattern.get()));
  } else {
    brush.reset(CreateSolidBrush(kPanelColour));
  }
  if (!brush) return false;
  State().brushes[static_cast<size_t>(slot)] = std::move(brush);
  return true;
}

bool MakeListBrush() {
  GdiBrush brush(CreateSolidBrush(kPanelColour));
  if (!brush) return false;
  State().brushes[kSlotMainWindow] = std::move(brush);
  return true;
}

HBRUSH ControlBrush(int slot) {
  return (slot >= 0 && slot < kControlSlots) ? State().brushes[static_cast<size_t>(slot)].get()
                                             : nullptr;
}

HBRUSH ControlColourReply(HDC dc, HWND control) {
  SetBkColor(dc, kPanelColour);
  HBRUSH hollow = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (control == nullptr) return hollow;
  const int slot = SlotOf(control);
  if (slot < 0) return hollow;
  SetTextColor(dc, IsWindowEnabled(control) ? RGB(0, 0, 0) : kDisabledTextColour);
  HBRUSH brush = ControlBrush(slot);
  if (brush != nullptr) SelectObject(dc, brush);
  SetBkMode(dc, TRANSPARENT);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  return brush != nullptr ? brush : hollow;
}

HBRUSH ListColourReply(HDC dc, HWND) {
  SetBkColor(dc, kPanelColour);
  SetTextColor(dc, RGB(0, 0, 0));
  HBRUSH brush = ControlBrush(kSlotMainWindow);
  return brush != nullptr ? brush : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

HBRUSH ButtonColourReply(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool AnswerColourMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  HWND control = reinterpret_cast<HWND>(lparam);
  HBRUSH brush = nullptr;
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      brush = ControlColourReply(dc, control);
      break;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      brush = ListColourReply(dc, control);
      break;
    case WM_CTLCOLORBTN:
      brush = ButtonColourReply(dc);
      break;
    default:
      return false;
  }
  *result = reinterpret_cast<LRESULT>(brush);
  return true;
}

}  // namespace qm::skin
