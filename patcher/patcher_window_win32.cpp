#include "patcher/patcher_window_win32.h"

#include <array>
#include <optional>
#include <string>

#include "base/handles_win32.h"
#include "base/os.h"
#include "base/path.h"
#include "heroes/game_files.h"
#include "patcher/patch_apply.h"
#include "patcher/patcher_app_win32.h"
#include "patcher/patcher_ui.h"
#include "portrait/bitmap_pixels_win32.h"
#include "resources/string_ids.h"
#include "shell/folder_browser_win32.h"
#include "shell/game_search.h"
#include "shell/game_version.h"
#include "shell/language.h"
#include "skin/pixel_shade.h"
#include "skin/text_font_win32.h"
#include "web/home_page_win32.h"

namespace qm::patcher {
namespace {

constexpr char kBrowserTitle[] = "Select HOMM4 Folder";

COLORREF Rgb(uint32_t colour) { return RGB(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

// Everything the window draws with; released when the window is destroyed.
struct Skin {
  GdiBitmap background;
  GdiBitmap scratch;
  GdiFont font;
  std::array<HWND, kControls.size()> controls{};
  std::array<GdiBrush, kControls.size()> brushes;
};

Skin& TheSkin() {
  static Skin skin;
  return skin;
}

int SlotOf(HWND control) {
  const Skin& skin = TheSkin();
  for (size_t i = 0; i < skin.controls.size(); ++i) {
    if (skin.controls[i] != nullptr && skin.controls[i] == control) return static_cast<int>(i);
  }
  return -1;
}

HWND ControlById(uint16_t id) {
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id == id) return TheSkin().controls[i];
  }
  return nullptr;
}

// The folder box's background: the background under it, lightened, as a pattern (NT), or the
// plain backdrop colour where pattern brushes of that size are not available.
GdiBrush MakeFolderBoxBrush(HWND box, const ControlPlacement& placement) {
  if (!Patcher().nt_platform) return GdiBrush(CreateSolidBrush(Rgb(kBackdropColour)));
  WindowDc screen(box);
  if (!screen) return {};
  GdiBitmap pattern(CreateCompatibleBitmap(screen.get(), placement.width, placement.height));
  if (!pattern) return {};
  {
    MemoryDc to(screen.get());
    MemoryDc from(screen.get());
    if (!to || !from) return {};
    SelectInDc keep_to(to.get(), pattern.get());
    SelectInDc keep_from(from.get(), TheSkin().background.get());
    if (!keep_to.ok() || !keep_from.ok()) return {};
    if (!BitBlt(to.get(), 0, 0, placement.width, placement.height, from.get(), placement.left, placement.top,
                SRCCOPY)) {
      return {};
    }
    Picture area;
    if (!ReadDcPixels(to.get(), 0, 0, placement.width, placement.height, &area)) return {};
    skin::BrightenArea(&area, 0, 0, placement.width - 1, placement.height - 1, kFolderBoxLighten);
    if (!WriteDcPixels(to.get(), 0, 0, area)) return {};
  }
  return GdiBrush(CreatePatternBrush(pattern.get()));
}

bool CreateSkin(HWND window) {
  Skin& skin = TheSkin();
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  skin.background.reset(LoadBitmapA(instance, MAKEINTRESOURCEA(kBackgroundBitmapId)));
  if (!skin.background) return false;
  {
    WindowDc screen(window);
    if (!screen) return false;
    skin.scratch.reset(CreateCompatibleBitmap(screen.get(), kWindowWidth, kWindowHeight));
  }
  if (!skin.scratch) return false;

  for (size_t i = 0; i < kControls.size(); ++i) {
    const ControlPlacement& c = kControls[i];
    const bool button = c.kind == ControlKind::kButton;
    const DWORD style = button ? WS_CHILD | WS_VISIBLE | BS_OWNERDRAW
                               : WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL;
    skin.controls[i] = CreateWindowExA(0, button ? "BUTTON" : "EDIT", button ? Text(c.label) : "",
                                       style, c.left, c.top, c.width, c.height, window,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)),
                                       instance, nullptr);
    if (skin.controls[i] == nullptr) return false;
  }

  skin.font = skin::MakeTextFont(Text(kPatcherFontFace), FontWeight(Text(kPatcherFontWeight)));
  if (!skin.font) return false;
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].kind != ControlKind::kFolderBox) continue;
    SendMessageA(skin.controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(skin.font.get()), FALSE);
    skin.brushes[i] = MakeFolderBoxBrush(skin.controls[i], kControls[i]);
    if (!skin.brushes[i]) return false;
  }
  return true;
}

void ReleaseSkin() { TheSkin() = Skin{}; }

void SetUpdateButtonsEnabled(bool enabled) {
  EnableWindow(ControlById(kIdUpdatePortraits), enabled ? TRUE : FALSE);
  EnableWindow(ControlById(kIdUpdateText), enabled ? TRUE : FALSE);
}

void ShowFolder() { SetWindowTextA(ControlById(kIdFolderBox), Patcher().game_folder.c_str()); }

// Draws a button over the background under it: shaded face, then the label.
void DrawButton(const DRAWITEMSTRUCT& item) {
  const int slot = SlotOf(item.hwndItem);
  if (slot < 0) return;
  const ControlPlacement& placement = kControls[static_cast<size_t>(slot)];
  const Skin& skin = TheSkin();
  const skin::ButtonLook look = (item.itemState & ODS_DISABLED)   ? skin::ButtonLook::kDisabled
                                : (item.itemState & ODS_SELECTED) ? skin::ButtonLook::kPressed
                                                                  : skin::ButtonLook::kNormal;
  MemoryDc scratch(item.hDC);
  MemoryDc background(item.hDC);
  if (!scratch || !background) return;
  SelectInDc keep_scratch(scratch.get(), skin.scratch.get());
  SelectInDc keep_background(background.get(), skin.background.get());
  if (!keep_scratch.ok() || !keep_background.ok()) return;
  BitBlt(scratch.get(), 0, 0, placement.width, placement.height, background.get(), placement.left, placement.top,
         SRCCOPY);
  Picture face;
  if (ReadDcPixels(scratch.get(), 0, 0, placement.width, placement.height, &face)) {
    ShadeButton(&face, look);
    WriteDcPixels(scratch.get(), 0, 0, face);
  }
  {
    SelectInDc keep_font(scratch.get(), skin.font.get());
    SetBkMode(scratch.get(), TRANSPARENT);
    SetTextAlign(scratch.get(), TA_CENTER | TA_TOP);
    std::array<char, 256> label{};
    GetWindowTextA(item.hwndItem, label.data(), static_cast<int>(label.size()));
    const skin::LabelPasses passes = ButtonLabelPasses(placement.width, placement.height, look);
    for (int i = 0; i < passes.count; ++i) {
      const skin::LabelPass& pass = passes.pass[static_cast<size_t>(i)];
      SetTextColor(scratch.get(), Rgb(pass.colour));
      TextOutA(scratch.get(), pass.x, pass.y, label.data(), lstrlenA(label.data()));
    }
  }
  BitBlt(item.hDC, 0, 0, placement.width, placement.height, scratch.get(), 0, 0, SRCCOPY);
}

LRESULT ColourReply(HDC dc, HWND control) {
  SetBkColor(dc, Rgb(kBackdropColour));
  const int slot = SlotOf(control);
  if (slot < 0) return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  SetTextColor(dc, Rgb(IsWindowEnabled(control) ? kLabelColour : kDisabledTextColour));
  SetBkMode(dc, TRANSPARENT);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  HBRUSH own = TheSkin().brushes[static_cast<size_t>(slot)].get();
  return reinterpret_cast<LRESULT>(own != nullptr ? own : GetStockObject(NULL_BRUSH));
}

void ChooseFolder(HWND window) {
  PatcherState& state = Patcher();
  std::optional<std::string> chosen =
      BrowseForFolder(window, kBrowserTitle, state.game_folder,
                      [](const std::string& folder) { return !FindInFolder(folder, kGameExecutable).empty(); });
  if (!chosen || chosen->empty()) return;
  const std::string folder = WithTrailingSeparator(*chosen);
  // A folder without either archive is not taken: the game folder and the target archive
  // always belong to the same game.
  const std::string target = TargetArchiveForGame(folder);
  if (!os::FileExists(target)) return;
  state.game_folder = folder;
  state.target_archive = target;
  SetUpdateButtonsEnabled(true);
  SetCurrentDirectoryA(folder.c_str());
  ShowFolder();
}

// The version gate: an older game is patched only when the user says so.
bool MayUpdate(HWND window) {
  const float version = GameVersionOfFolder(Patcher().game_folder);
  if (!VersionNeedsQuestion(version)) return true;
  const std::string question = FormatVersionQuestion(Text(kPatcherMsgVersionQuestion), version);
  return MessageBoxA(window, question.c_str(), kClassName, MB_YESNO | MB_ICONWARNING) == IDYES;
}

void Update(HWND window, UpdateKind kind) {
  if (!MayUpdate(window)) return;
  const PatcherState& state = Patcher();
  const std::optional<std::string> self = os::OwnExecutablePath();
  const bool ok = self && ApplyPatch(*self, state.game_folder, state.target_archive, kind).ok();
  MessageBoxA(window, Text(ok ? kPatcherMsgUpdated : kPatcherMsgUpdateFailed), kClassName, MB_OK);
}

LRESULT OnCreate(HWND window) {
  if (!CreateSkin(window)) {
    ReleaseSkin();
    MessageBoxA(window, "Can't initialize dialog skin.", kClassName, MB_OK);
    PostQuitMessage(-1);
    return 0;
  }
  if (!Patcher().game_folder.empty()) {
    ShowFolder();
  } else {
    SetUpdateButtonsEnabled(false);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kIdDir, 0), 0);
  }
  return 0;
}

bool OnCommand(HWND window, WPARAM wparam) {
  switch (LOWORD(wparam)) {
    case kIdDir:
      ChooseFolder(window);
      return true;
    case kIdQuit:
      DestroyWindow(window);
      return true;
    case kIdHomePage:
      OpenHomePage(kProgramHomePage);
      return true;
    case kIdFolderBox:
      return HIWORD(wparam) == EN_CHANGE;  // typing is impossible; the rest goes on
    case kIdUpdateText:
      Update(window, UpdateKind::kText);
      return true;
    case kIdUpdatePortraits:
      Update(window, UpdateKind::kPortraits);
      return true;
    default:
      return true;
  }
}

void Paint(HWND window) {
  PaintDc paint(window);
  if (paint.dc() == nullptr) return;
  MemoryDc source(paint.dc());
  if (!source) return;
  SelectInDc keep(source.get(), TheSkin().background.get());
  if (!keep.ok()) return;
  BitBlt(paint.dc(), 0, 0, kWindowWidth, kWindowHeight, source.get(), 0, 0, SRCCOPY);
}

}  // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_DESTROY:
      ReleaseSkin();
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_DRAWITEM:
      DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return ColourReply(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_COMMAND:
      if (OnCommand(window, wparam)) return 0;
      break;
    case WM_LBUTTONDOWN: {
      // No caption bar: a press anywhere drags the window.
      POINT cursor;
      GetCursorPos(&cursor);
      SetCursor(LoadCursorA(nullptr, IDC_SIZEALL));
      PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace qm::patcher
