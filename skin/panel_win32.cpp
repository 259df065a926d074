// The panel windows (class "QLMKSUB"): the about panel and the option panel with its check
// boxes, range trackbars and resize-method list.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <span>
#include <string>

#include "heroes/value_tables.h"
#include "resources/string_ids.h"
#include "shell/language.h"
#include "skin/control_layout.h"
#include "skin/controls_win32.h"
#include "skin/option_state.h"
#include "skin/skin_internal_win32.h"
#include "skin/skin_win32.h"
#include "skin/skinned_window_win32.h"

namespace qm::skin {
namespace {

constexpr int kTrackbarMax = 100;
constexpr int kTrackbarStep = 10;
constexpr size_t kComboTextBytes = 260;
constexpr int kLastResizeMethod = 7;

RangeTracker& Tracker(bool x) {
  static RangeTracker x_tracker, y_tracker;
  return x ? x_tracker : y_tracker;
}

void SetSelection(HWND bar, int a, int b) {
  int start = 0, end = 0;
  OrderedSelection(a, b, &start, &end);
  SendMessageA(bar, TBM_SETSEL, TRUE, MAKELPARAM(start, end));
}

// Visual styles (and Wine's default theme) draw the trackbar channel without its selection,
// which would hide the chosen range; the classic look shows it. uxtheme.dll is optional, so it
// is looked up at run time and stays loaded for the program's life once found.
void ShowSelectionRange(HWND bar) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const SetWindowThemeFn set_theme = [] {
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    return uxtheme != nullptr ? reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void (*)()>(
                                    GetProcAddress(uxtheme, "SetWindowTheme")))
                              : nullptr;
  }();
  if (set_theme != nullptr) set_theme(bar, L" ", L" ");  // no theme class has this name
}

void SetUpTrackbar(HWND bar, bool redraw_range, bool use_range, int low, int high) {
  ShowSelectionRange(bar);
  SendMessageA(bar, TBM_SETTICFREQ, kTrackbarStep, 0);
  SendMessageA(bar, TBM_SETRANGEMIN, redraw_range, 0);
  SendMessageA(bar, TBM_SETRANGEMAX, redraw_range, kTrackbarMax);
  SendMessageA(bar, TBM_SETPAGESIZE, 0, kTrackbarStep);
  if (low != high) SetSelection(bar, low, high);
  EnableWindow(bar, use_range);
}

void FillMethodList(HWND combo) {
  for (uint32_t method = 0; method <= kLastResizeMethod; ++method) {
    std::optional<std::string> name = LabelOfId(kResizeMethodTable, method, ProgramText);
    if (name && !name->empty()) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name->c_str()));
    }
  }
  std::optional<std::string> current =
      LabelOfId(kResizeMethodTable, static_cast<uint32_t>(Options().resize_method), ProgramText);
  if (current && !current->empty()) {
    SendMessageA(combo, CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(current->c_str()));
  } else {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

void BuildOptionPanel(HWND panel) {
  HBITMAP backdrop = Image(SkinImage::kPanelBackdrop);
  for (const ControlPlacement& placement : kOptionControls) {
    // A control that cannot be made leaves the panel with the controls made so far.
    if (internal::CreateControl(placement, panel, backdrop) == nullptr) return;
  }
  const FaceOptions& o = Options();
  SetUpTrackbar(Control(kSlotXRangeBar), true, o.use_x_range, o.x_low, o.x_high);
  SetUpTrackbar(Control(kSlotYRangeBar), false, o.use_y_range, o.y_low, o.y_high);
  FillMethodList(Control(kSlotResizeMethod));
}

void BuildPanel(HWND panel, PanelKind kind) {
  if (kind == PanelKind::kOption) {
    BuildOptionPanel(panel);
  } else {
    internal::CreateControl(kAboutControls[0], panel, Image(SkinImage::kPanelBackdrop));
  }
}

void PaintOptionPanel(HWND panel) {
  PaintDc paint(panel);
  HDC dc = paint.dc();
  if (dc == nullptr) return;
  internal::CopyFromBitmap(dc, 0, 0, kPanelWidth, kPanelHeight, Image(SkinImage::kPanelBackdrop),
                           0, 0);
  SelectInDc keep_font(dc, SkinFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  internal::DrawString(dc, kResizeMethodCaption.left, kResizeMethodCaption.top, Text(kResizeMethodCaption.label));
}

void TrackRange(HWND bar, bool x, WPARAM wparam) {
  const TrackStep step = Tracker(x).OnScroll(LOWORD(wparam), HIWORD(wparam));
  if (step.set_selection) SendMessageA(bar, TBM_SETSEL, TRUE, MAKELPARAM(step.start, step.end));
  if (step.store) {
    FaceOptions& o = Options();
    (x ? o.x_low : o.y_low) = step.low;
    (x ? o.x_high : o.y_high) = step.high;
  }
}

bool IsCheckOrLabel(int id) {
  const DrawKind kind = DrawKindOf(id);
  return id != kIdAllowedCheck && id != kIdAllowedLabel &&
         (kind == DrawKind::kCheckBox || kind == DrawKind::kLabel);
}

// WM_COMMAND of a panel. True when the panel was destroyed.
bool PanelCommand(HWND panel, int id, int code) {
  if (id == kIdAboutClose || id == kIdOptionClose) {
    DestroyWindow(panel);
    return true;
  }
  if (id == kIdResizeMethod) {
    std::array<char, kComboTextBytes> text{};
    GetWindowTextA(Control(kSlotResizeMethod), text.data(), static_cast<int>(text.size()));
    Options().resize_method = ResizeMethodOfName(text.data());
    return false;
  }
  if (!IsCheckOrLabel(id) || (code != STN_CLICKED && code != STN_DBLCLK)) return false;
  FaceOptions& o = Options();
  const int check = FlipOption(&o, id);
  if (check == 0) return false;
  if (const ControlPlacement* placement = FindControlPlacement(check)) {
    InvalidateRect(Control(placement->slot), nullptr, TRUE);
  }
  if (check == kIdXRangeCheck) EnableWindow(Control(kSlotXRangeBar), o.use_x_range);
  if (check == kIdYRangeCheck) EnableWindow(Control(kSlotYRangeBar), o.use_y_range);
  return false;
}

// Empties the slots of a closed panel's controls, so that no later window whose handle happens
// to repeat a destroyed one is taken for them. The slots' brushes stay.
void ForgetControls(std::span<const ControlPlacement> controls) {
  for (const ControlPlacement& placement : controls) SetControl(placement.slot, nullptr);
}

}  // namespace

HWND OpenPanel(HWND main_window, PanelKind kind) {
  const int slot = kind == PanelKind::kAbout ? kSlotAboutPanel : kSlotOptionPanel;
  if (HWND open = Control(slot)) {
    SetFocus(open);
    return open;
  }
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kPanelWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kPanelHeight) / 2;
  return CreateWindowExA(WS_EX_TOOLWINDOW, "QLMKSUB", "QLMKSUB", WS_POPUP | WS_VISIBLE, left, top,
                         kPanelWidth, kPanelHeight, main_window, nullptr,
                         internal::SkinInstance(),
                         reinterpret_cast<LPVOID>(static_cast<INT_PTR>(kind)));
}

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
      const auto kind = reinterpret_cast<INT_PTR>(create->lpCreateParams) == 0
                            ? PanelKind::kAbout
                            : PanelKind::kOption;
      SetControl(kind == PanelKind::kAbout ? kSlotAboutPanel : kSlotOptionPanel, window);
      BuildPanel(window, kind);
      break;
    }
    case WM_DESTROY:
      if (Control(kSlotAboutPanel) == window) {
        SetControl(kSlotAboutPanel, nullptr);
        ForgetControls(kAboutControls);
      } else if (Control(kSlotOptionPanel) == window) {
        SetControl(kSlotOptionPanel, nullptr);
        ForgetControls(kOptionControls);
      }
      break;
    case WM_PAINT:
      if (window == Control(kSlotAboutPanel)) {
        internal::PaintAboutPanel(window);
      } else {
        PaintOptionPanel(window);
      }
      return 0;
    case WM_COMMAND:
      if (PanelCommand(window, LOWORD(wparam), HIWORD(wparam))) return 0;
      break;
    case WM_HSCROLL: {
      HWND bar = reinterpret_cast<HWND>(lparam);
      if (bar != nullptr && bar == Control(kSlotXRangeBar)) {
        TrackRange(bar, true, wparam);
      } else if (bar != nullptr && bar == Control(kSlotYRangeBar)) {
        TrackRange(bar, false, wparam);
      }
      return 0;
    }
    default:
      break;
  }
  LRESULT result = 0;
  if (AnswerSkinnedWindowMessage(window, message, wparam, lparam, {}, &result)) return result;
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace qm::skin
