#include "tools/skinart/pen_script.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qm::skinart {
namespace {

double InkIn(const Field& f, int x0, int y0, int x1, int y1) {
  double sum = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) sum += f.At(x, y);
  }
  return sum;
}

PenStyle Upright() {
  PenStyle pen;
  pen.x_height = 20;
  pen.slant = 0;
  return pen;
}

TEST(PenScript, LetterIHasAStemAndADotAndNothingBetween) {
  // Baseline at y = 40: the stem spans y 20..40, the dot sits near y 40 - 1.37 x 20 = 12.6.
  const Field ink = WriteText("i", Upright(), 10, 40, {0, 0, 40, 50});
  EXPECT_GT(InkIn(ink, 10, 22, 14, 38), 30.0);  // stem, column x 10 + 0.1 x 20 = 12
  EXPECT_GT(InkIn(ink, 11, 9, 16, 15), 2.0);    // dot
  EXPECT_LT(InkIn(ink, 8, 16, 18, 18), 0.5);    // gap between dot and stem
  EXPECT_EQ(InkIn(ink, 0, 0, 40, 6), 0.0);      // nothing far above
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_GE(ink.At(x, y), 0.0);
      ASSERT_LE(ink.At(x, y), 1.0);
    }
  }
}

TEST(PenScript, StemsAreAboutAsWideAsTheNibAcrossThem) {
  // A stem runs down across the nib edge held at 40 degrees: 0.2 x cos 40 x 20 = 3 pixels.
  const Field ink = WriteText("l", Upright(), 0, 40, {0, 0, 30, 50});
  double widest_stem_row = 0;
  for (int y = 12; y < 30; ++y) widest_stem_row = std::max(widest_stem_row, InkIn(ink, 0, y, 30, y + 1));
  EXPECT_GT(widest_stem_row, 2.5);
  EXPECT_LT(widest_stem_row, 4.5);
}

TEST(PenScript, UnknownCharactersWriteNothingButTakeASpace) {
  const PenStyle pen = Upright();
  EXPECT_EQ(TextWidth("#", pen), TextWidth(" ", pen));
  const Field ink = WriteText("#", pen, 0, 30, {0, 0, 40, 40});
  EXPECT_EQ(InkIn(ink, 0, 0, 40, 40), 0.0);
  EXPECT_EQ(TextWidth("", pen), 0.0);
}

TEST(PenScript, InkOutsideTheFieldIsClipped) {
  // Written half off the field's left and top edges: no crash, ink only where it fits.
  const Field ink = WriteText("Quillmark", Upright(), -40, 10, {0, 0, 30, 20});
  EXPECT_GT(InkIn(ink, 0, 0, 30, 20), 0.0);
}

TEST(PenScript, WidthGrowsWithTheText) {
  const PenStyle pen = Upright();
  EXPECT_GT(TextWidth("Quillmark", pen), TextWidth("Quill", pen));
  EXPECT_DOUBLE_EQ(TextWidth("ii", pen), 2 * TextWidth("i", pen) + pen.tracking * pen.x_height);
}

}  // namespace
}  // namespace qm::skinart
