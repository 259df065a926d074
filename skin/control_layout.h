// Where every skinned control sits and what it shows: the main window's controls and the two
// panels' controls in creation order, and how each control id is drawn.
//
//   for (const ControlPlacement& c : kMainControls) create c.kind at c.left, c.top ... in slot c.slot
//   DrawKindOf(kIdSave)        -> DrawKind::kTextButton
//   LabelStringOf(kIdSave)     -> kLabelSave ("Save")
//   CheckBoxCell(false, true)  -> {0, 28}   (the ticked cell of the button sheet)
//   kLargeFaceCaption          -> " L. Face:" painted at (18, 197), at most 90 pixels wide
//
// Portable data only; controls_win32.cpp turns kinds into window classes and styles.
#pragma once

#include <cstdint>
#include <span>

#include "resources/string_ids.h"
#include "skin/control_ids.h"

namespace qm::skin {

enum class ControlKind : uint8_t {
  kButton,         // owner-drawn push button (caption buttons, arrows, text buttons)
  kNumberBox,      // digits only, right-aligned edit box with border
  kLineEdit,       // one-line edit box with border, scrolling sideways
  kBiographyEdit,  // multi-line, centred edit box with border
  kCombo,          // owner-drawn drop-down list
  kCheckBox,       // owner-drawn notifying static showing a check box
  kLabel,          // owner-drawn notifying static showing a string
  kFaceView,       // owner-drawn static accepting dropped files
  kMessagePanel,   // owner-drawn static
  kTrackbar,       // trackbar with ticks and a selection range
};

struct ControlPlacement {
  int slot;
  int id;
  ControlKind kind;
  int left, top, width, height;
  uint32_t label;      // string id of its text; 0: none
  int text_limit = 0;  // edit boxes: most characters the box takes
  bool disabled = false;
};

extern const ControlPlacement kMainControls[30];
extern const ControlPlacement kOptionControls[14];
extern const ControlPlacement kAboutControls[1];

// The control with this id in any table, or null.
const ControlPlacement* FindControlPlacement(int id);
// The string id of a control's label or text button caption; 0 when it has none.
uint32_t LabelStringOf(int id);

enum class DrawKind : uint8_t {
  kNothing,
  kMessagePanel,
  kCaptionButton,
  kArrow,
  kCheckBox,
  kTextButton,
  kFaceView,
  kComboItem,
  kLabel,
};
// How the skin draws the control with this id, from its kind in the tables; kNothing for an
// unknown id and for the controls that draw themselves.
DrawKind DrawKindOf(int id);

// A cell of the button sheet (48 x 82): its top-left corner.
struct SheetCell {
  int x = 0, y = 0;
  bool operator==(const SheetCell&) const = default;
};
constexpr int kCaptionCellWidth = 24, kCaptionCellHeight = 20;
constexpr int kSmallCellWidth = 16, kSmallCellHeight = 14;

SheetCell CaptionButtonCell(int id, bool pressed);  // 1001 minimize, 1002 close
SheetCell ArrowCell(int id, bool pressed);          // 1004 up, 1005 down
SheetCell CheckBoxCell(bool disabled, bool on);

// Texts the windows paint themselves rather than through a control: the top-left corner of
// the text, and how wide it may run before it meets a control or the panel's rules.
struct PaintedText {
  uint32_t label;  // string id; 0 for the about panel's translation lines (built from 65536/7)
  int left, top;
  int max_width;
};
// " L. Face:" and " S. Face:" in front of the faces' button rows (which start at 108).
constexpr PaintedText kLargeFaceCaption{kLabelLargeFace, 18, 197, 90};
constexpr PaintedText kSmallFaceCaption{kLabelSmallFace, 18, 219, 90};
// "Resize method:" on the option panel, above the method list.
constexpr PaintedText kResizeMethodCaption{kLabelResizeMethod, 20, 158, 440};
// The about panel's translation heading and translator credit (its rules end at 470).
constexpr PaintedText kTranslationHeadingLine{0, 20, 153, 450};
constexpr PaintedText kTranslatorCreditLine{0, 40, 171, 430};

// Whether the panel backdrop (not the main one) lies under the text button `id`.
bool OnPanelBackdrop(int id);

// The sheet areas that give the two caption buttons their shapes.
constexpr SheetCell kMinimizeShapeCell{24, 42};
constexpr SheetCell kCloseShapeCell{0, 42};

}  // namespace qm::skin
