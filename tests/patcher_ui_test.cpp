// The patcher window's portable pieces: layout, button faces, label places, the version
// question's formatting.
#include "patcher/patcher_ui.h"

#include <gtest/gtest.h>

namespace qm::patcher {
namespace {

using skin::ButtonLook;

constexpr uint32_t kGrey100 = MakeColour(100, 100, 100);

uint32_t Level(int v) { return MakeColour(static_cast<uint32_t>(v), static_cast<uint32_t>(v), static_cast<uint32_t>(v)); }

TEST(PatcherUi, ControlsSitInsideTheWindowAsTheTableSays) {
  ASSERT_EQ(kControls.size(), 5u);
  EXPECT_EQ(kControls[0].id, kIdDir);
  EXPECT_EQ(kControls[1].kind, ControlKind::kFolderBox);
  EXPECT_EQ(kControls[2].id, kIdUpdatePortraits);
  EXPECT_EQ(kControls[2].label, kPatcherLabelUpdatePortraits);
  EXPECT_EQ(kControls[3].id, kIdUpdateText);
  EXPECT_EQ(kControls[3].left, 244);
  EXPECT_EQ(kControls[4].id, kIdQuit);
  for (const ControlPlacement& c : kControls) {
    EXPECT_GE(c.left, 0);
    EXPECT_LE(c.left + c.width, kWindowWidth) << c.id;
    EXPECT_LE(c.top + c.height, kWindowHeight) << c.id;
  }
}

TEST(PatcherUi, NormalFaceIsLightenedAndRaised) {
  Picture face(10, 6, kGrey100);
  ShadeButton(&face, ButtonLook::kNormal);
  EXPECT_EQ(face.at(4, 3), Level(125));  // inside: +25
  EXPECT_EQ(face.at(0, 0), Level(165));  // top row: +40
  EXPECT_EQ(face.at(8, 0), Level(165));
  EXPECT_EQ(face.at(0, 3), Level(165));  // left column
  EXPECT_EQ(face.at(8, 3), Level(85));   // column R - 1: -40
  EXPECT_EQ(face.at(4, 4), Level(85));   // row B - 1
  EXPECT_EQ(face.at(9, 0), Level(45));   // right column from the top: -80
  EXPECT_EQ(face.at(0, 5), Level(45));   // bottom row
  EXPECT_EQ(face.at(9, 5), Level(45));   // the corner is darkened once
}

TEST(PatcherUi, PressedFaceIsSunkenWithADoubleInnerEdge) {
  Picture face(10, 6, kGrey100);
  ShadeButton(&face, ButtonLook::kPressed);
  EXPECT_EQ(face.at(4, 3), Level(125));
  EXPECT_EQ(face.at(4, 0), Level(45));   // top row: -80
  EXPECT_EQ(face.at(1, 0), Level(0));    // top row and column L + 1, clamped
  EXPECT_EQ(face.at(1, 1), Level(5));    // column L + 1 (-80) and row T + 1 (-40)
  EXPECT_EQ(face.at(1, 3), Level(5));    // column L + 1: -80, then -40 from T + 2 to B - 2
  EXPECT_EQ(face.at(1, 4), Level(45));   // B - 1 only gets the first pass
  EXPECT_EQ(face.at(4, 1), Level(85));   // row T + 1
  EXPECT_EQ(face.at(0, 3), Level(125));  // column L unchanged
  EXPECT_EQ(face.at(9, 3), Level(165));  // right column: +40
  EXPECT_EQ(face.at(4, 5), Level(165));  // bottom row
}

TEST(PatcherUi, DisabledFaceTurnsGreyBeforeItsBevel) {
  Picture face(10, 6, MakeColour(180, 20, 8));
  ShadeButton(&face, ButtonLook::kDisabled);
  EXPECT_EQ(face.at(4, 3), Level(66));   // int(0.587 x 20 + 0.114 x 8 + 0.299 x 180)
  EXPECT_EQ(face.at(4, 0), Level(106));  // top row: +40
  EXPECT_EQ(face.at(0, 3), Level(66));   // column L unchanged
  EXPECT_EQ(face.at(1, 3), Level(106));  // column L + 1: +40
  EXPECT_EQ(face.at(8, 3), Level(26));   // column R - 1: -40
  EXPECT_EQ(face.at(4, 5), Level(0));    // bottom row: -80, clamped
}

TEST(PatcherUi, TinyFacesStayInsideThePicture) {
  for (ButtonLook look : {ButtonLook::kNormal, ButtonLook::kPressed, ButtonLook::kDisabled}) {
    Picture one(1, 1, kGrey100);
    ShadeButton(&one, look);
    Picture none;
    ShadeButton(&none, look);
    EXPECT_TRUE(none.empty());
  }
}

TEST(PatcherUi, LabelsAreCentredAndMoveWhenPressed) {
  const skin::LabelPasses normal = ButtonLabelPasses(216, 60, ButtonLook::kNormal);
  ASSERT_EQ(normal.count, 1);
  EXPECT_EQ(normal.pass[0].x, 107);  // (0 + 215) / 2
  EXPECT_EQ(normal.pass[0].y, 22);   // (0 + 59) / 2 - 7
  EXPECT_EQ(normal.pass[0].colour, kColourWhite);

  const skin::LabelPasses pressed = ButtonLabelPasses(216, 60, ButtonLook::kPressed);
  ASSERT_EQ(pressed.count, 1);
  EXPECT_EQ(pressed.pass[0].x, 108);
  EXPECT_EQ(pressed.pass[0].y, 23);

  const skin::LabelPasses disabled = ButtonLabelPasses(76, 20, ButtonLook::kDisabled);
  ASSERT_EQ(disabled.count, 2);
  EXPECT_EQ(disabled.pass[0].colour, MakeColour(206, 223, 231));
  EXPECT_EQ(disabled.pass[0].x, 38);
  EXPECT_EQ(disabled.pass[0].y, 3);  // (0 + 19) / 2 - 6
  EXPECT_EQ(disabled.pass[1].colour, MakeColour(130, 130, 148));
  EXPECT_EQ(disabled.pass[1].x, 37);
  EXPECT_EQ(disabled.pass[1].y, 2);
}

TEST(PatcherUi, VersionQuestionTakesTheVersionOnce) {
  EXPECT_EQ(FormatVersionQuestion("I've found your HOMM4 version is %1.1f (I hope)\r\nGo?", 1.2f),
            "I've found your HOMM4 version is 1.2 (I hope)\r\nGo?");
  EXPECT_EQ(FormatVersionQuestion("v%.2f, 100%% sure", 1.0f), "v1.00, 100% sure");
  EXPECT_EQ(FormatVersionQuestion("no number", 1.2f), "no number");
}

TEST(PatcherUi, VersionQuestionFromALanguageFileIsNeverAFormatString) {
  // Only one float conversion is filled; everything else that looks like one stays text.
  EXPECT_EQ(FormatVersionQuestion("%s %n %1.1f %1.1f %", 1.2f), "%s %n 1.2 %1.1f %");
  EXPECT_EQ(FormatVersionQuestion("%999.999f", 1.2f), "%999.999f");
  EXPECT_EQ(FormatVersionQuestion("%99.1f|", 1.2f).size(), 100u);
}

TEST(PatcherUi, FontWeightIsADecimalNumber) {
  EXPECT_EQ(FontWeight("600"), 600);
  EXPECT_EQ(FontWeight("bold"), 0);
  EXPECT_EQ(FontWeight(nullptr), 0);
}

}  // namespace
}  // namespace qm::patcher
