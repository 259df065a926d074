// The control table, the main window's controls and the owner-draw of every skinned control.
#include "skin/controls_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "heroes/value_tables.h"
#include "resources/string_ids.h"
#include "shell/language.h"
#include "skin/control_layout.h"
#include "skin/option_state.h"
#include "skin/skin_internal_win32.h"
#include "skin/skin_win32.h"
#include "skin/text_font_win32.h"

namespace qm::skin {
namespace {

std::array<HWND, kControlSlots>& Table() {
  static std::array<HWND, kControlSlots> table{};
  return table;
}

constexpr int kComboItemHeight = 14;
// The skinned combo box frames its client area one pixel in and clips its field two more.
constexpr int kComboFrameInset = 1;
constexpr int kComboClipInset = 2;
constexpr int kPanelLineHeight = 17;

struct WindowClassAndStyle {
  const char* window_class;
  DWORD style;
  DWORD ex_style;
};

WindowClassAndStyle ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
      return {"BUTTON", BS_OWNERDRAW, 0};
    case ControlKind::kNumberBox:
      return {"EDIT", WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL | ES_RIGHT, 0};
    case ControlKind::kLineEdit:
      return {"EDIT", WS_BORDER | ES_AUTOHSCROLL, 0};
    case ControlKind::kBiographyEdit:
      return {"EDIT", WS_BORDER | ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL | ES_WANTRETURN, 0};
    case ControlKind::kCombo:
      return {"COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0};
    case ControlKind::kCheckBox:
    case ControlKind::kLabel:
      return {"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0};
    case ControlKind::kFaceView:
      return {"STATIC", SS_OWNERDRAW, WS_EX_ACCEPTFILES};
    case ControlKind::kMessagePanel:
      return {"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::kTrackbar:
      return {TRACKBAR_CLASSA, TBS_AUTOTICKS | TBS_ENABLESELRANGE, 0};
  }
  return {"STATIC", 0, 0};
}

bool IsEdit(ControlKind kind) {
  return kind == ControlKind::kNumberBox || kind == ControlKind::kLineEdit ||
         kind == ControlKind::kBiographyEdit;
}

void AddLabels(HWND combo, ValueTable table, uint32_t first, uint32_t last) {
  for (uint32_t id = first; id <= last; ++id) {
    if (std::optional<std::string> label = LabelOfId(table, id, ProgramText)) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label->c_str()));
    }
  }
}

// The backdrop under the controls of `window`: the panel backdrop for a panel window.
HBITMAP BackdropOf(HWND window) {
  return window == Control(kSlotMainWindow) ? Image(SkinImage::kMainBackdrop)
                                            : Image(SkinImage::kPanelBackdrop);
}

// The composition surface, with the backdrop under `control` copied to its (0, 0).
struct Scratch {
  explicit Scratch(HDC like) : dc(like) {}
  MemoryDc dc;
  std::optional<SelectInDc> keep;
  int width = 0, height = 0;
};

bool ComposeOverBackdrop(HWND window, HWND control, HBITMAP backdrop, Scratch* s) {
  const RECT r = internal::RectIn(window, control);
  s->width = r.right - r.left;
  s->height = r.bottom - r.top;
  if (!s->dc) return false;
  s->keep.emplace(s->dc.get(), Image(SkinImage::kScratch));
  if (!s->keep->ok()) return false;
  return internal::CopyFromBitmap(s->dc.get(), 0, 0, s->width, s->height, backdrop, r.left,
                                  r.top);
}

// Fills the item with the backdrop that lies under its control, so that what the item draws
// next never sits on stale pixels.
void UnderlayBackdrop(HWND window, const DRAWITEMSTRUCT* item) {
  const RECT r = internal::RectIn(window, item->hwndItem);
  internal::CopyFromBitmap(item->hDC, 0, 0, r.right - r.left, r.bottom - r.top,
                           BackdropOf(window), r.left, r.top);
}

void DrawSheetCell(HDC dc, SheetCell cell, int width, int height) {
  MemoryDc sheet(dc);
  if (!sheet) return;
  SelectInDc keep(sheet.get(), Image(SkinImage::kButtonSheet));
  if (!keep.ok()) return;
  TransparentCopy(dc, 0, 0, width, height, sheet.get(), cell.x, cell.y, kKeyColour);
}

int DrawTextButton(HWND window, const DRAWITEMSTRUCT* item) {
  const int id = static_cast<int>(item->CtlID);
  Scratch s(item->hDC);
  HBITMAP backdrop = OnPanelBackdrop(id) ? Image(SkinImage::kPanelBackdrop)
                                         : Image(SkinImage::kMainBackdrop);
  if (!ComposeOverBackdrop(window, item->hwndItem, backdrop, &s)) return 0;
  ButtonState state = ButtonState::kNormal;
  if (item->itemState & ODS_DISABLED) {
    state = ButtonState::kDisabled;
  } else if (item->itemState & ODS_SELECTED) {
    state = ButtonState::kPressed;
  }
  DrawButtonFace(s.dc.get(), 0, 0, s.width - 1, s.height - 1, Text(LabelStringOf(id)),
                 kButtonFill, state);
  BitBlt(item->hDC, 0, 0, s.width, s.height, s.dc.get(), 0, 0, SRCCOPY);
  return 1;
}

int DrawMessagePanel(HWND window, const DRAWITEMSTRUCT* item, const StatusLines* lines) {
  Scratch s(item->hDC);
  if (!ComposeOverBackdrop(window, item->hwndItem, Image(SkinImage::kMainBackdrop), &s)) return 0;
  HDC dc = s.dc.get();
  SelectInDc keep_font(dc, SkinFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  if (lines != nullptr) {
    for (size_t i = 0; i < lines->size(); ++i) {
      const std::string& line = (*lines)[i];
      if (!line.empty()) {
        TextOutA(dc, 0, 2 + kPanelLineHeight * static_cast<int>(i), line.data(),
                 static_cast<int>(line.size()));
      }
    }
  }
  BitBlt(item->hDC, 0, 0, s.width, s.height, dc, 0, 0, SRCCOPY);
  return 1;
}

int DrawComboItem(const DRAWITEMSTRUCT* item) {
  if (static_cast<int>(item->itemID) < 0) return 0;
  if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) == 0) return 0;
  // Sized by the item's own length: a language file may give an item any length.
  const LRESULT length = SendMessageA(item->hwndItem, CB_GETLBTEXTLEN, item->itemID, 0);
  if (length < 0) return 0;
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(item->hwndItem, CB_GETLBTEXT, item->itemID, reinterpret_cast<LPARAM>(text.data()));
  SetTextColor(item->hDC, (item->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 0));
  SetBkColor(item->hDC, kPanelColour);
  internal::DrawString(item->hDC, item->rcItem.left, item->rcItem.top, text.data());
  return 1;
}

int DrawLabel(HWND window, const DRAWITEMSTRUCT* item) {
  UnderlayBackdrop(window, item);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(item->hwndItem, WM_GETFONT, 0, 0));
  SelectInDc keep_font(item->hDC, font);
  SetBkMode(item->hDC, TRANSPARENT);
  const bool disabled = (item->itemState & ODS_DISABLED) || !IsWindowEnabled(item->hwndItem);
  SetTextColor(item->hDC, disabled ? kDisabledTextColour : RGB(0, 0, 0));
  internal::DrawString(item->hDC, item->rcItem.left, item->rcItem.top,
                       Text(LabelStringOf(static_cast<int>(item->CtlID))));
  return 1;
}

int DrawFaceView(const DRAWITEMSTRUCT* item) {
  const bool large = item->CtlID == kIdLargeFace;
  const int size = large ? 82 : 52;
  return internal::CopyFromBitmap(item->hDC, 0, 0, size, size,
                                  FaceViewBitmap(large ? FaceKind::kLarge : FaceKind::kSmall), 0,
                                  0)
             ? 1
             : 0;
}

LRESULT CALLBACK SkinnedComboProc(HWND combo, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto old_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(combo, GWLP_USERDATA));
  if (old_proc == nullptr) return DefWindowProcA(combo, message, wparam, lparam);
  if (message != WM_PAINT) return CallWindowProcA(old_proc, combo, message, wparam, lparam);

  PaintDc paint(combo);
  HDC dc = paint.dc();
  if (dc == nullptr) return 0;
  RECT r{};
  GetClientRect(combo, &r);
  InflateRect(&r, -kComboFrameInset, -kComboFrameInset);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  InflateRect(&r, -kComboClipInset, -kComboClipInset);
  GdiRegion clip(CreateRectRgnIndirect(&r));
  if (clip) SelectClipRgn(dc, clip.get());
  CallWindowProcA(old_proc, combo, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  SelectClipRgn(dc, nullptr);
  return 0;
}

}  // namespace

// ---- control table --------------------------------------------------------------------------

void ClearControlTable() { Table().fill(nullptr); }

HWND Control(int slot) {
  return (slot >= 0 && slot < kControlSlots) ? Table()[static_cast<size_t>(slot)] : nullptr;
}

void SetControl(int slot, HWND window) {
  if (slot >= 0 && slot < kControlSlots) Table()[static_cast<size_t>(slot)] = window;
}

int SlotOf(HWND window) {
  if (window == nullptr) return -1;
  for (int slot = 0; slot < kControlSlots; ++slot)
    if (Table()[static_cast<size_t>(slot)] == window) return slot;
  return -1;
}

// ---- creation -------------------------------------------------------------------------------

HWND internal::CreateControl(const ControlPlacement& placement, HWND parent, HBITMAP backdrop) {
  const WindowClassAndStyle cs = ClassOf(placement.kind);
  const char* text = placement.label != 0 ? Text(placement.label) : "";
  HWND control = CreateWindowExA(cs.ex_style, cs.window_class, text,
                                 WS_CHILD | WS_VISIBLE | cs.style, placement.left, placement.top,
                                 placement.width, placement.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(placement.id)),
                                 SkinInstance(), nullptr);
  if (control == nullptr) return nullptr;
  SetControl(placement.slot, control);
  const WPARAM font = reinterpret_cast<WPARAM>(SkinFont());
  if (IsEdit(placement.kind) || placement.kind == ControlKind::kCombo) {
    if (!MakeControlBrush(backdrop, placement.slot, placement.left, placement.top, placement.width, placement.height,
                          true)) {
      return nullptr;
    }
  }
  if (IsEdit(placement.kind)) {
    SendMessageA(control, WM_SETFONT, font, TRUE);
    SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(placement.text_limit), 0);
  } else if (placement.kind == ControlKind::kCombo) {
    SendMessageA(control, WM_SETFONT, font, FALSE);
    if (!SubclassCombo(control)) return nullptr;
  } else if (placement.kind == ControlKind::kLabel || placement.kind == ControlKind::kMessagePanel) {
    SendMessageA(control, WM_SETFONT, font, FALSE);
  }
  return control;
}

bool BuildMainControls(HWND main_window, int selected_record) {
  GdiFont font = MakeTextFont(Text(kSkinFontFace), ParseFontWeight(Text(kSkinFontWeight)));
  if (!font) return false;
  internal::SetSkinFont(std::move(font));

  HBITMAP backdrop = Image(SkinImage::kMainBackdrop);
  for (const ControlPlacement& placement : kMainControls) {
    if (internal::CreateControl(placement, main_window, backdrop) == nullptr) return false;
  }
  for (const ControlPlacement& placement : kMainControls) {
    if (placement.disabled) EnableWindow(Control(placement.slot), FALSE);
  }
  AddLabels(Control(kSlotSex), kSexTable, kSexMale, kSexFemale);
  AddLabels(Control(kSlotClass), kClassTable, kClassGeneric, kClassDeathKnight);
  SetWindowTextA(Control(kSlotNumberBox), std::to_string(selected_record).c_str());

  // The trackbars live on the option panel; their brushes blend them into its backdrop.
  HBITMAP panel = Image(SkinImage::kPanelBackdrop);
  MakeControlBrush(panel, kSlotXRangeBar, 40, 64, 400, 22, false);
  MakeControlBrush(panel, kSlotYRangeBar, 40, 108, 400, 22, false);
  MakeListBrush();
  return true;
}

int ComboFieldWidth(HWND parent, int width, HFONT font) {
  const WindowClassAndStyle cs = ClassOf(ControlKind::kCombo);
  OwnedWindow combo(CreateWindowExA(cs.ex_style, cs.window_class, "", WS_CHILD | cs.style, 0, 0, width, 400, parent,
                                    nullptr, GetModuleHandleA(nullptr), nullptr));
  if (!combo) return -1;
  SendMessageA(combo.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  RECT client{};
  if (!GetComboBoxInfo(combo.get(), &info) || !GetClientRect(combo.get(), &client)) return -1;
  const LONG clip_right = client.right - kComboFrameInset - kComboClipInset;
  return static_cast<int>(std::min(info.rcItem.right, clip_right) - info.rcItem.left);
}

bool SubclassCombo(HWND combo) {
  const LONG_PTR old_proc = GetWindowLongPtrA(combo, GWLP_WNDPROC);
  if (old_proc == 0) return false;
  SetWindowLongPtrA(combo, GWLP_USERDATA, old_proc);
  SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinnedComboProc));
  return true;
}

// ---- owner-draw -----------------------------------------------------------------------------

int DrawItem(HWND window, const DRAWITEMSTRUCT* item, const MainItemState& main) {
  if (item == nullptr || item->hDC == nullptr) return 0;
  const int id = static_cast<int>(item->CtlID);
  if (id < kFirstControlId || id > kLastControlId) return 0;
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  switch (DrawKindOf(id)) {
    case DrawKind::kMessagePanel:
      return DrawMessagePanel(window, item, main.status_lines);
    case DrawKind::kCaptionButton:
      UnderlayBackdrop(window, item);
      DrawSheetCell(item->hDC, CaptionButtonCell(id, pressed), kCaptionCellWidth,
                    kCaptionCellHeight);
      return 1;
    case DrawKind::kArrow:
      UnderlayBackdrop(window, item);
      DrawSheetCell(item->hDC, ArrowCell(id, pressed), kSmallCellWidth, kSmallCellHeight);
      return 1;
    case DrawKind::kCheckBox: {
      const bool disabled = (item->itemState & ODS_DISABLED) || !IsWindowEnabled(item->hwndItem);
      const bool on = id == kIdAllowedCheck ? main.allowed : OptionIsOn(Options(), id);
      UnderlayBackdrop(window, item);
      DrawSheetCell(item->hDC, CheckBoxCell(disabled, on), kSmallCellWidth, kSmallCellHeight);
      return 1;
    }
    case DrawKind::kTextButton:
      return DrawTextButton(window, item);
    case DrawKind::kFaceView:
      return DrawFaceView(item);
    case DrawKind::kComboItem:
      return DrawComboItem(item);
    case DrawKind::kLabel:
      return DrawLabel(window, item);
    case DrawKind::kNothing:
      return 0;
  }
  return 0;
}

int MeasureItem(MEASUREITEMSTRUCT* item) {
  if (item != nullptr && item->CtlType == ODT_COMBOBOX) item->itemHeight = kComboItemHeight;
  return 1;
}

}  // namespace qm::skin
