// Where the windows' controls sit, so the artwork leaves the right places for them: the
// rectangles (left, top, width, height) of the main window's and the panels' controls, the
// text positions the windows paint at, and the sizes of every skin image.
#pragma once

namespace qm::skinart {

struct Rect {
  int left;
  int top;
  int width;
  int height;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

constexpr int kMainWidth = 540;
constexpr int kMainHeight = 440;
constexpr int kPanelWidth = 480;
constexpr int kPanelHeight = 240;
constexpr int kSheetWidth = 48;
constexpr int kSheetHeight = 82;

// Main window.
constexpr Rect kMinimizeButton{452, 20, 24, 20};
constexpr Rect kCloseButton{476, 20, 24, 20};
constexpr Rect kNumberBox{124, 48, 30, 18};
constexpr Rect kUpArrow{159, 43, 16, 14};
constexpr Rect kDownArrow{159, 57, 16, 14};
constexpr Rect kSexCombo{189, 41, 60, 18};
constexpr Rect kClassCombo{254, 41, 150, 18};
constexpr Rect kAllowedCheck{409, 44, 16, 14};
constexpr Rect kAllowedLabel{430, 45, 80, 14};
constexpr Rect kKeywordBox{314, 22, 134, 18};
constexpr Rect kNameBox{190, 22, 120, 18};
constexpr Rect kBiographyBox{190, 62, 332, 124};
constexpr Rect kDirButton{20, 246, 76, 20};
constexpr Rect kPatchButton{20, 266, 76, 20};
constexpr Rect kHomeButtons{342, 194, 178, 42};   // the two home-page buttons
constexpr Rect kFaceButtons{108, 194, 232, 42};   // Copy, Paste, Load for both faces
constexpr Rect kCommandButtons{111, 78, 76, 108};  // Save, Wipe, MakeSFX, Option, About
constexpr Rect kLargeFace{22, 43, 82, 82};
constexpr Rect kSmallFace{22, 133, 52, 52};
constexpr Rect kMessagePanel{50, 304, 448, 100};
constexpr int kMessageLineStep = 17;  // panel lines start at 2 + 17 x line
constexpr int kMessageLines = 6;
constexpr int kPathLabelX = 102;      // the two path labels at (102, 249) and (102, 269)
constexpr int kPathLabelY[2] = {249, 269};
constexpr int kFaceLabelX = 18;       // " L. Face:" at (18, 197), " S. Face:" at (18, 219)

// Option and about panels (480 x 240).
constexpr Rect kXRangeTrackbar{40, 64, 400, 22};
constexpr Rect kYRangeTrackbar{40, 108, 400, 22};
constexpr Rect kPanelCloseButton{202, 210, 76, 20};
constexpr int kAboutRuleRows[3] = {25, 55, 200};

// Patcher window (480 x 240).
constexpr Rect kPatcherDirButton{20, 60, 76, 20};
constexpr Rect kPatcherFolderBox{100, 61, 360, 18};
constexpr Rect kPatcherPortraitsButton{20, 96, 216, 60};
constexpr Rect kPatcherTextButton{244, 96, 216, 60};
constexpr Rect kPatcherQuitButton{202, 174, 76, 20};

}  // namespace qm::skinart
