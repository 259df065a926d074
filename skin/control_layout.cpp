#include "skin/control_layout.h"

#include "resources/string_ids.h"

namespace qm::skin {

using K = ControlKind;

// Creation order of the main window's controls (not slot order).
const ControlPlacement kMainControls[30] = {
    {kSlotMinimize, kIdMinimize, K::kButton, 452, 20, 24, 20, 0},
    {kSlotClose, kIdClose, K::kButton, 476, 20, 24, 20, 0},
    {kSlotNumberBox, kIdNumberBox, K::kNumberBox, 124, 48, 30, 18, 0, 3},
    {kSlotUpArrow, kIdUpArrow, K::kButton, 159, 43, 16, 14, 0},
    {kSlotDownArrow, kIdDownArrow, K::kButton, 159, 57, 16, 14, 0},
    {kSlotSex, kIdSex, K::kCombo, 189, 41, 60, 400, 0},
    {kSlotClass, kIdClass, K::kCombo, 254, 41, 150, 400, 0},
    {kSlotAllowedCheck, kIdAllowedCheck, K::kCheckBox, 409, 44, 16, 14, 0},
    {kSlotAllowedLabel, kIdAllowedLabel, K::kLabel, 430, 45, 80, 14, kLabelAllowed},
    {kSlotKeyword, kIdKeyword, K::kLineEdit, 314, 22, 134, 18, 0, 64, true},
    {kSlotName, kIdName, K::kLineEdit, 190, 22, 120, 18, 0, 64},
    {kSlotBiography, kIdBiography, K::kBiographyEdit, 190, 62, 332, 124, 0, 512},
    {kSlotDir, kIdDir, K::kButton, 20, 246, 76, 20, kLabelDir},
    {kSlotPatch, kIdPatch, K::kButton, 20, 266, 76, 20, kLabelPatch},
    {kSlotDesignerHome, kIdDesignerHome, K::kButton, 342, 194, 178, 20, kLabelDesignerHome},
    {kSlotProgramHome, kIdProgramHome, K::kButton, 342, 216, 178, 20, kLabelProgramHome, 0, true},
    {kSlotCopySmall, kIdCopySmall, K::kButton, 108, 216, 76, 20, kLabelCopy},
    {kSlotCopyLarge, kIdCopyLarge, K::kButton, 108, 194, 76, 20, kLabelCopy},
    {kSlotPasteSmall, kIdPasteSmall, K::kButton, 186, 216, 76, 20, kLabelPaste},
    {kSlotPasteLarge, kIdPasteLarge, K::kButton, 186, 194, 76, 20, kLabelPaste},
    {kSlotLoadSmall, kIdLoadSmall, K::kButton, 264, 216, 76, 20, kLabelLoad},
    {kSlotLoadLarge, kIdLoadLarge, K::kButton, 264, 194, 76, 20, kLabelLoad},
    {kSlotSave, kIdSave, K::kButton, 111, 78, 76, 20, kLabelSave},
    {kSlotWipe, kIdWipe, K::kButton, 111, 100, 76, 20, kLabelWipe},
    {kSlotMakeSfx, kIdMakeSfx, K::kButton, 111, 122, 76, 20, kLabelMakeSfx},
    {kSlotOption, kIdOption, K::kButton, 111, 144, 76, 20, kLabelOption},
    {kSlotAbout, kIdAbout, K::kButton, 111, 166, 76, 20, kLabelAbout},
    {kSlotLargeFace, kIdLargeFace, K::kFaceView, 22, 43, 82, 82, 0},
    {kSlotSmallFace, kIdSmallFace, K::kFaceView, 22, 133, 52, 52, 0},
    {kSlotMessagePanel, kIdMessagePanel, K::kMessagePanel, 50, 304, 448, 100, 0},
};

const ControlPlacement kOptionControls[14] = {
    {kSlotAspectCheck, kIdAspectCheck, K::kCheckBox, 20, 20, 16, 14, 0},
    {kSlotAspectLabel, kIdAspectLabel, K::kLabel, 41, 21, 200, 14, kLabelAspect},
    {kSlotSmallCopyCheck, kIdSmallCopyCheck, K::kCheckBox, 240, 20, 16, 14, 0},
    {kSlotSmallCopyLabel, kIdSmallCopyLabel, K::kLabel, 261, 21, 200, 14, kLabelSmallCopy},
    {kSlotXRangeCheck, kIdXRangeCheck, K::kCheckBox, 20, 46, 16, 14, 0},
    {kSlotXRangeLabel, kIdXRangeLabel, K::kLabel, 41, 47, 200, 14, kLabelXRange},
    {kSlotXRangeBar, kIdXRangeBar, K::kTrackbar, 40, 64, 400, 22, 0},
    {kSlotYRangeCheck, kIdYRangeCheck, K::kCheckBox, 20, 90, 16, 14, 0},
    {kSlotYRangeLabel, kIdYRangeLabel, K::kLabel, 41, 91, 200, 14, kLabelYRange},
    {kSlotYRangeBar, kIdYRangeBar, K::kTrackbar, 40, 108, 400, 22, 0},
    {kSlotAutoRingCheck, kIdAutoRingCheck, K::kCheckBox, 20, 134, 16, 14, 0},
    {kSlotAutoRingLabel, kIdAutoRingLabel, K::kLabel, 41, 135, 200, 14, kLabelAutoRing},
    {kSlotOptionClose, kIdOptionClose, K::kButton, 202, 210, 76, 20, kLabelClose},
    {kSlotResizeMethod, kIdResizeMethod, K::kCombo, 20, 176, 216, 400, 0},
};

const ControlPlacement kAboutControls[1] = {
    {kSlotAboutClose, kIdAboutClose, K::kButton, 202, 210, 76, 20, kLabelClose},
};

const ControlPlacement* FindControlPlacement(int id) {
  for (std::span<const ControlPlacement> table :
       {std::span<const ControlPlacement>(kMainControls), std::span<const ControlPlacement>(kOptionControls),
        std::span<const ControlPlacement>(kAboutControls)}) {
    for (const ControlPlacement& c : table)
      if (c.id == id) return &c;
  }
  return nullptr;
}

uint32_t LabelStringOf(int id) {
  const ControlPlacement* c = FindControlPlacement(id);
  return c != nullptr ? c->label : 0;
}

DrawKind DrawKindOf(int id) {
  const ControlPlacement* c = FindControlPlacement(id);
  if (c == nullptr) return DrawKind::kNothing;
  switch (c->kind) {
    case K::kButton:
      if (id == kIdMinimize || id == kIdClose) return DrawKind::kCaptionButton;
      if (id == kIdUpArrow || id == kIdDownArrow) return DrawKind::kArrow;
      return DrawKind::kTextButton;
    case K::kCheckBox: return DrawKind::kCheckBox;
    case K::kLabel: return DrawKind::kLabel;
    case K::kFaceView: return DrawKind::kFaceView;
    case K::kCombo: return DrawKind::kComboItem;
    case K::kMessagePanel: return DrawKind::kMessagePanel;
    default:  // edit boxes, the number box and the trackbars draw themselves
      return DrawKind::kNothing;
  }
}

SheetCell CaptionButtonCell(int id, bool pressed) {
  return {id == kIdMinimize ? 24 : 0, pressed ? 62 : 42};
}

SheetCell ArrowCell(int id, bool pressed) {
  return {id == kIdUpArrow ? 32 : 16, pressed ? 28 : 14};
}

SheetCell CheckBoxCell(bool disabled, bool on) {
  return {0, disabled ? 0 : (on ? 28 : 14)};
}

bool OnPanelBackdrop(int id) { return id == kIdAboutClose || id == kIdOptionClose; }

}  // namespace qm::skin
