// Where the windows' controls sit, so the artwork leaves the right places for them. The main
// window's and the panels' controls come from the skin's own control table, so the artwork
// follows it; the patcher's controls, the text positions the windows paint at and the image
// sizes are kept here.
#pragma once

#include "skin/control_ids.h"

namespace qm::skinart {

struct Rect {
  int left;
  int top;
  int width;
  int height;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

// The rectangle of a main window or panel control (skin/control_ids.h), as created.
Rect ControlRect(int id);

using skin::kMainWidth;
using skin::kMainHeight;
using skin::kPanelWidth;
using skin::kPanelHeight;
constexpr int kSheetWidth = 48;
constexpr int kSheetHeight = 82;

// Text the main window paints itself: the path labels and the face rows' labels.
constexpr int kPathLabelX = 102;
constexpr int kFaceLabelX = 18;
// The message panel's lines start at 2 + 17 x line, six of them.
constexpr int kMessageLineStep = 17;
constexpr int kMessageLines = 6;

// Patcher window (480 x 240).
constexpr Rect kPatcherDirButton{20, 60, 76, 20};
constexpr Rect kPatcherFolderBox{100, 61, 360, 18};
constexpr Rect kPatcherPortraitsButton{20, 96, 216, 60};
constexpr Rect kPatcherTextButton{244, 96, 216, 60};
constexpr Rect kPatcherQuitButton{202, 174, 76, 20};

}  // namespace qm::skinart
