#include "shell/record_view_win32.h"

#include <optional>
#include <string>

#include "heroes/value_tables.h"
#include "portrait/face_view_win32.h"
#include "shell/editor_state.h"
#include "shell/language.h"
#include "skin/controls_win32.h"
#include "skin/skin_win32.h"

namespace qm {
namespace {

using namespace qm::skin;

// Marks the program's own writes into the boxes for the command filter of the main window.
class FillingScope {
 public:
  FillingScope() : was_(MainView().filling) { MainView().filling = true; }
  ~FillingScope() { MainView().filling = was_; }
  FillingScope(const FillingScope&) = delete;
  FillingScope& operator=(const FillingScope&) = delete;

 private:
  bool was_;
};

std::string PanelWindowText(const StatusLines& lines) {
  size_t used = lines.size();
  while (used > 0 && lines[used - 1].empty()) --used;
  std::string text;
  for (size_t i = 0; i < used; ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

void SetFaceShown(int slot, bool* shown, bool exists) {
  HWND view = Control(slot);
  if (view == nullptr) return;
  if (!*shown && exists) {
    ShowWindow(view, SW_SHOW);
    *shown = true;
  } else if (*shown && !exists) {
    ShowWindow(view, SW_HIDE);
    *shown = false;
  } else if (*shown && exists) {
    InvalidateRect(view, nullptr, FALSE);
  }
}

}  // namespace

MainViewState& MainView() {
  static MainViewState state;
  return state;
}

void RepaintSlot(int slot, bool erase) {
  if (HWND control = Control(slot)) InvalidateRect(control, nullptr, erase ? TRUE : FALSE);
}

void PublishStatus() {
  if (HWND panel = Control(kSlotMessagePanel)) {
    SetWindowTextA(panel, PanelWindowText(Editor().status).c_str());
    InvalidateRect(panel, nullptr, FALSE);
  }
}

void ShowStatus(std::string_view text) {
  Editor().status = BreakStatusText(text);
  PublishStatus();
}

void ShowStatusString(uint32_t string_id) { ShowStatus(Text(string_id)); }

void SetNumberBox(int index) {
  FillingScope filling;
  SetWindowTextA(Control(kSlotNumberBox), std::to_string(index).c_str());
}

void SelectByLabel(HWND list, const char* label) {
  if (list == nullptr) return;
  // CB_SELECTSTRING searches the whole list once, from the item after index 0, for the first
  // item that begins with the label.
  if (label == nullptr ||
      SendMessageA(list, CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(label)) == CB_ERR) {
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

void SetEditable(bool editable) {
  MainViewState& view = MainView();
  if (view.editable == editable) return;
  for (int slot : {kSlotName, kSlotBiography, kSlotSex, kSlotClass, kSlotAllowedCheck,
                   kSlotAllowedLabel}) {
    if (HWND control = Control(slot)) EnableWindow(control, editable ? TRUE : FALSE);
  }
  view.editable = editable;
}

bool ShowRecord(int index, bool repaint_biography) {
  const HeroCatalogue& catalogue = Editor().catalogue;
  FillingScope filling;
  // Indices from 1 below the record count: 0 is the table's header row.
  if (index < 1 || static_cast<size_t>(index) >= catalogue.count()) {
    for (int slot : {kSlotName, kSlotKeyword, kSlotBiography}) SetWindowTextA(Control(slot), "");
    return false;
  }
  const HeroRecord& record = catalogue.record(static_cast<size_t>(index));
  SetWindowTextA(Control(kSlotName), record.name.c_str());
  SetWindowTextA(Control(kSlotKeyword), record.keyword.c_str());
  SetWindowTextA(Control(kSlotBiography), record.biography.c_str());

  const std::optional<std::string> sex = LabelOfId(kSexTable, record.sex, ProgramText);
  const std::optional<std::string> hero_class = LabelOfId(kClassTable, record.hero_class, ProgramText);
  SelectByLabel(Control(kSlotSex), sex && !sex->empty() ? sex->c_str() : nullptr);
  SelectByLabel(Control(kSlotClass),
                hero_class && !hero_class->empty() ? hero_class->c_str() : nullptr);

  if (repaint_biography) RepaintSlot(kSlotBiography, true);
  MainView().allowed = record.allowed_by != 0;
  SetEditable(!record.read_only());
  RepaintSlot(kSlotAllowedCheck, true);
  return true;
}

void RefreshFaces(bool decode_only) {
  const HeroRecord* record = SelectedRecord(Editor());
  // A face shows only while its flag is set: bytes a record gained without the flag (Auto S.Face
  // Copy) are saved but not shown.
  const auto shown = [record](FaceKind kind) {
    return record != nullptr && record->has_face(kind) &&
           DecodeFaceIntoView(record->face(kind), kind, FaceViewBitmap(kind));
  };
  const bool large = shown(FaceKind::kLarge);
  const bool small = shown(FaceKind::kSmall);
  if (decode_only) return;
  SetFaceShown(kSlotLargeFace, &MainView().large_shown, large);
  SetFaceShown(kSlotSmallFace, &MainView().small_shown, small);
}

}  // namespace qm
