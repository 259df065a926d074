#include "shell/main_commands_win32.h"

#include <array>
#include <string>
#include <utility>

#include "archive/h4r_wipe.h"
#include "heroes/catalogue_faces.h"
#include "portrait/clipboard_win32.h"
#include "portrait/picture_import_win32.h"
#include "resources/string_ids.h"
#include "shell/command_rules.h"
#include "shell/editor_state.h"
#include "shell/game_dialogs_win32.h"
#include "shell/language.h"
#include "shell/patcher_and_backup_win32.h"
#include "shell/record_view_win32.h"
#include "skin/controls_win32.h"
#include "skin/option_state.h"
#include "skin/skin_win32.h"
#include "web/home_page_win32.h"
#include "web/update_check_win32.h"

namespace qm {
namespace {

using namespace qm::skin;

// The number box holds at most 3 digits; a pasted text is read up to this length.
constexpr int kNumberTextBytes = 259;
constexpr int kListTextBytes = 260;

HeroCatalogue& Catalogue() { return Editor().catalogue; }
bool Nonempty() { return !Catalogue().empty(); }

const HeroRecord* Selected() { return SelectedRecord(Editor()); }

bool HasFaceFlag(FaceKind kind) {
  const HeroRecord* record = Selected();
  return record != nullptr && record->has_face(kind);
}

bool HoldsFace(FaceKind kind) {
  const HeroRecord* record = Selected();
  return record != nullptr && record->holds_face(kind);
}

std::string WindowText(HWND window, int max_bytes) {
  std::string text(static_cast<size_t>(max_bytes) + 1, '\0');
  const int n = window != nullptr ? GetWindowTextA(window, text.data(), max_bytes + 1) : 0;
  text.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return text;
}

// The whole text of an edit box (the boxes limit what they accept: 64 or 512 characters).
std::string EditText(int slot) {
  HWND box = Control(slot);
  if (box == nullptr) return {};
  const int length = GetWindowTextLengthA(box);
  return length > 0 ? WindowText(box, length) : std::string();
}

// Selected record changed: number box, record, faces.
void ShowSelection(bool write_number_box) {
  const int index = Editor().selected;
  if (write_number_box) SetNumberBox(index);
  ShowRecord(index, true);
  RefreshFaces(false);
}

void StepRecord(int delta) {
  Editor().selected += delta;
  ClampSelection(&Editor());
  ShowSelection(true);
}

void NumberBoxChanged() {
  Editor().selected = ParseNumberBoxText(WindowText(Control(kSlotNumberBox), kNumberTextBytes));
  ShowSelection(ClampSelection(&Editor()));
}

void ToggleAllowed() {
  if (!Catalogue().ToggleAllowedBy(SelectedIndex(Editor())).ok()) return;  // no record, or a read-only one
  MainView().allowed = Selected() != nullptr && Selected()->allowed_by != 0;
  RepaintSlot(kSlotAllowedCheck, true);
}

void ChooseArchive(HWND window) {
  if (!ChooseWorkingArchive(window)) {
    ShowStatusString(kMsgPatchCancelled);
    return;
  }
  EditorState& state = Editor();
  // A failed load leaves an empty catalogue; the status still says the file was chosen.
  (void)state.catalogue.Load(state.paths, nullptr, [window](const OverlongValue& value) {
    MessageBoxA(window, Text(value.message_id), "Quillmark", MB_OK);
  });
  ClampSelection(&state);
  ShowSelection(true);
  InvalidateRect(window, nullptr, TRUE);
  ShowStatusString(kMsgPatchChosen);
}

void CopyFaceCommand(HWND window, FaceKind kind) {
  const bool large = kind == FaceKind::kLarge;
  if (Nonempty() && HoldsFace(kind) && CopyFace(window, FaceViewBitmap(kind))) {
    ShowStatusString(large ? kMsgCopiedLarge : kMsgCopiedSmall);
  } else {
    ShowStatusString(large ? kMsgNoLargeToCopy : kMsgNoSmallToCopy);
  }
}

void PasteFaceCommand(HWND window, FaceKind kind) {
  const bool large = kind == FaceKind::kLarge;
  std::optional<FaceEdit> edit;
  if (Nonempty() && HasFaceFlag(kind)) edit = BeginFaceEdit();
  if (!edit) {
    ShowStatusString(large ? kMsgCannotPasteLarge : kMsgCannotPasteSmall);
    return;
  }
  NewFaces faces;
  switch (PasteFace(window, kind, *edit, &faces)) {
    case PasteResult::kPasted:
      StoreFaces(kind, std::move(faces));
      ShowStatusString(large ? kMsgPastedLarge : kMsgPastedSmall);
      break;
    case PasteResult::kNoBitmap:
      ShowStatusString(large ? kMsgNoClipboardLarge : kMsgNoClipboardSmall);
      break;
    case PasteResult::kUnusable:
      ShowStatusString(large ? kMsgCannotPasteLarge : kMsgCannotPasteSmall);
      break;
  }
}

void LoadFaceCommand(HWND window, FaceKind kind) {
  const bool large = kind == FaceKind::kLarge;
  NewFaces faces;
  if (Nonempty() && HasFaceFlag(kind) && LoadFaceFromFile(window, kind, BeginFaceEdit, &faces)) {
    StoreFaces(kind, std::move(faces));
    ShowStatusString(large ? kMsgLoadedLarge : kMsgLoadedSmall);
  } else {
    ShowStatusString(large ? kMsgLoadLargeFailed : kMsgLoadSmallFailed);
  }
}

}  // namespace

std::optional<FaceEdit> BeginFaceEdit() {
  const HeroRecord* record = Selected();
  if (record == nullptr) return std::nullopt;
  return FaceEdit{Options(), FaceHeroOf(*record)};
}

void StoreFaces(FaceKind kind, NewFaces faces) {
  // Selected() checked the index: nothing selects another record while a picture is fitted.
  if (Selected() == nullptr) return;
  (void)StoreNewFaces(&Catalogue(), SelectedIndex(Editor()), kind, std::move(faces));
  RefreshFaces(false);
}

void RunMainCommand(HWND window, int id) {
  EditorState& state = Editor();
  HeroCatalogue& catalogue = state.catalogue;
  switch (id) {
    case kIdMinimize:
      ShowWindow(window, SW_MINIMIZE);
      UpdateWindow(window);
      break;
    case kIdClose:
      DestroyWindow(window);
      break;
    case kIdNumberBox:
      if (!MainView().filling) NumberBoxChanged();
      break;
    case kIdUpArrow:
      StepRecord(1);
      break;
    case kIdDownArrow:
      StepRecord(-1);
      break;
    // Edits of a read-only record are refused by the catalogue and change nothing.
    case kIdName:
      if (!MainView().filling) (void)catalogue.SetName(SelectedIndex(state), EditText(kSlotName));
      break;
    case kIdBiography:
      if (!MainView().filling) (void)catalogue.SetBiography(SelectedIndex(state), EditText(kSlotBiography));
      break;
    case kIdKeyword:
      if (!MainView().filling) (void)catalogue.SetKeyword(SelectedIndex(state), EditText(kSlotKeyword));
      break;
    case kIdSex:
      (void)catalogue.SetSexByLabel(SelectedIndex(state), WindowText(Control(kSlotSex), kListTextBytes - 1),
                                    ProgramText);
      break;
    case kIdClass:
      (void)catalogue.SetClassByLabel(SelectedIndex(state), WindowText(Control(kSlotClass), kListTextBytes - 1),
                                      ProgramText);
      break;
    case kIdAllowedCheck:
    case kIdAllowedLabel:
      ToggleAllowed();
      break;
    case kIdDir:
      if (ChooseGameFolder(window)) InvalidateRect(window, nullptr, TRUE);
      break;
    case kIdPatch:
      ChooseArchive(window);
      break;
    case kIdDesignerHome:
      OpenHomePage(kDesignerHomePage);
      ShowStatusString(kMsgThanksTamsel);
      break;
    case kIdProgramHome:
      OpenHomePage(kProgramHomePage);
      ShowStatusString(kMsgVisitHome);
      break;
    case kIdCopyLarge:
      CopyFaceCommand(window, FaceKind::kLarge);
      break;
    case kIdCopySmall:
      CopyFaceCommand(window, FaceKind::kSmall);
      break;
    case kIdPasteLarge:
      PasteFaceCommand(window, FaceKind::kLarge);
      break;
    case kIdPasteSmall:
      PasteFaceCommand(window, FaceKind::kSmall);
      break;
    case kIdLoadLarge:
      LoadFaceCommand(window, FaceKind::kLarge);
      break;
    case kIdLoadSmall:
      LoadFaceCommand(window, FaceKind::kSmall);
      break;
    case kIdSave:
      ShowStatusString(Nonempty() && catalogue.Save(Editor().paths.working_archive).ok()
                           ? kMsgSaved
                           : kMsgSaveFailed);
      break;
    case kIdWipe:
      ShowStatusString(Nonempty() && WipeArchive(Editor().paths.working_archive).ok()
                           ? kMsgWiped
                           : kMsgWipeFailed);
      break;
    case kIdMakeSfx:
      ShowStatusString(Nonempty() && WritePatcher(kPatcherFileName) ? kMsgPatcherBuilt
                                                                    : kMsgPatcherFailed);
      break;
    case kIdUpdateCheck:
      if (const std::string notice = RunUpdateCommand(); !notice.empty()) ShowStatus(notice);
      break;
    case kIdAbout:
      OpenPanel(window, PanelKind::kAbout);
      break;
    case kIdOption:
      OpenPanel(window, PanelKind::kOption);
      break;
    default:
      break;
  }
}

}  // namespace qm
