// The skin's portable drawing rules: pixel shading, key-colour shapes, button faces and the
// texts the skin draws.
#include <gtest/gtest.h>

#include "skin/button_face.h"
#include "skin/key_region.h"
#include "skin/pixel_shade.h"
#include "skin/skin_text.h"

namespace qm::skin {
namespace {

TEST(PixelShade, BrightenClampsEachChannel) {
  EXPECT_EQ(Brighten(MakeColour(250, 10, 128), 20), MakeColour(255, 30, 148));
  EXPECT_EQ(Brighten(MakeColour(250, 10, 128), -20), MakeColour(230, 0, 108));
  EXPECT_EQ(Brighten(MakeColour(1, 2, 3), -200), kColourBlack);
  EXPECT_EQ(Brighten(kColourWhite, 0), kColourWhite);
}

TEST(PixelShade, GreyscaleTruncatesTheWeightedSum) {
  EXPECT_EQ(Greyscale(MakeColour(255, 0, 0)), MakeColour(76, 76, 76));   // 76.245
  EXPECT_EQ(Greyscale(MakeColour(0, 255, 0)), MakeColour(149, 149, 149));  // 149.685
  EXPECT_EQ(Greyscale(MakeColour(0, 0, 255)), MakeColour(29, 29, 29));     // 29.07
  EXPECT_EQ(Greyscale(kColourWhite), kColourWhite);
  EXPECT_EQ(Greyscale(MakeColour(10, 200, 30)), MakeColour(123, 123, 123));  // 123.81
}

TEST(PixelShade, AreasAreInclusiveClippedAndEmptyWhenReversed) {
  Picture p(4, 3, MakeColour(100, 100, 100));
  BrightenArea(&p, 1, 1, 2, 1, 10);
  EXPECT_EQ(p.at(0, 1), MakeColour(100, 100, 100));
  EXPECT_EQ(p.at(1, 1), MakeColour(110, 110, 110));
  EXPECT_EQ(p.at(2, 1), MakeColour(110, 110, 110));
  EXPECT_EQ(p.at(3, 1), MakeColour(100, 100, 100));

  Picture before = p;
  BrightenArea(&p, 2, 0, 1, 2, 50);  // first x above last: nothing
  BrightenArea(&p, 0, 2, 3, 1, 50);  // first y above last: nothing
  EXPECT_EQ(p, before);

  BrightenArea(&p, -5, -5, 10, 10, 1);  // reaches past every edge
  EXPECT_EQ(p.at(0, 0), MakeColour(101, 101, 101));
  EXPECT_EQ(p.at(3, 2), MakeColour(101, 101, 101));

  GreyArea(&p, 0, 0, 0, 0);
  EXPECT_EQ(p.at(0, 0), Greyscale(MakeColour(101, 101, 101)));
}

Picture FromRows(std::initializer_list<const char*> rows) {
  // '#' is the key colour, '.' anything else.
  const int width = static_cast<int>(std::string_view(*rows.begin()).size());
  Picture p(width, static_cast<int>(rows.size()), kColourWhite);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < width; ++x)
      if (row[x] == '#') p.at(x, y) = kSkinKeyColour;
    ++y;
  }
  return p;
}

TEST(KeyRegion, RunsCloseAtTheFirstOtherPixelOrTheEdge) {
  const Picture area = FromRows({
      "##..#",
      ".#...",
      ".....",
  });
  EXPECT_EQ(KeyRuns(area, kSkinKeyColour),
            (std::vector<SpanRect>{{0, 0, 2, 1}, {4, 0, 5, 1}, {1, 1, 2, 2}}));
  EXPECT_EQ(OpaqueRuns(area, kSkinKeyColour),
            (std::vector<SpanRect>{{2, 0, 4, 1}, {0, 1, 1, 2}, {2, 1, 5, 2}, {0, 2, 5, 3}}));
}

TEST(KeyRegion, WithoutKeyPixelsTheShapeIsTheWholeArea) {
  const Picture area(3, 2, MakeColour(255, 0, 254));  // near the key colour is not the key
  EXPECT_TRUE(KeyRuns(area, kSkinKeyColour).empty());
  EXPECT_EQ(OpaqueRuns(area, kSkinKeyColour),
            (std::vector<SpanRect>{{0, 0, 3, 1}, {0, 1, 3, 2}}));
  EXPECT_TRUE(OpaqueRuns(Picture(2, 2, kSkinKeyColour), kSkinKeyColour).empty());
  EXPECT_TRUE(OpaqueRuns(Picture(), kSkinKeyColour).empty());
}

TEST(KeyRegion, OpaqueAndKeyRunsCoverEveryPixelOnce) {
  Picture area(37, 5, kColourWhite);
  for (int i = 0; i < 37 * 5; i += 3) area.at(i % 37, i / 37) = kSkinKeyColour;
  std::vector<int> hits(37 * 5, 0);
  for (const auto& runs : {KeyRuns(area, kSkinKeyColour), OpaqueRuns(area, kSkinKeyColour)}) {
    for (const SpanRect& r : runs) {
      ASSERT_EQ(r.bottom, r.top + 1);
      for (int x = r.left; x < r.right; ++x) ++hits[static_cast<size_t>(r.top * 37 + x)];
    }
  }
  for (int h : hits) EXPECT_EQ(h, 1);
}

// A 6 x 5 face of one grey, shaded: each pixel's change is the sum of the table's lines over it.
int ChangeAt(const Picture& face, int x, int y, uint8_t base) {
  return static_cast<int>(RedOf(face.at(x, y))) - base;
}

TEST(ButtonFace, NormalFaceIsRaised) {
  const uint8_t base = 220;
  Picture face(6, 5, MakeColour(base, base, base));
  ShadeButtonFace(&face, 0, 0, 5, 4, 25, ButtonLook::kNormal);
  EXPECT_EQ(ChangeAt(face, 2, 2, base), 25);              // fill only
  EXPECT_EQ(ChangeAt(face, 0, 0, base), 25 - 60);         // row T
  EXPECT_EQ(ChangeAt(face, 5, 0, base), 25 - 200);        // column R (row T stops at R - 1)
  EXPECT_EQ(ChangeAt(face, 0, 2, base), 25 - 60);         // column L
  EXPECT_EQ(ChangeAt(face, 1, 3, base), 25 - 100);        // row B - 1
  EXPECT_EQ(ChangeAt(face, 4, 3, base), 25 - 100 - 100);  // row B - 1 meets column R - 1
  EXPECT_EQ(ChangeAt(face, 5, 4, base), 25 - 200);        // row B (column R stops at B - 1)
}

TEST(ButtonFace, PressedFaceDarkensColumnLPlusOneTwice) {
  const uint8_t base = 250;
  Picture face(6, 6, MakeColour(base, base, base));
  ShadeButtonFace(&face, 0, 0, 5, 5, 25, ButtonLook::kPressed);
  // The fill clamps at 255 before the lines darken.
  EXPECT_EQ(RedOf(face.at(3, 3)), 255);
  EXPECT_EQ(RedOf(face.at(1, 4)), 55);   // column L + 1: -200 over T .. B - 1
  EXPECT_EQ(RedOf(face.at(1, 2)), 0);    // and -100 over T + 2 .. B - 2: clamped at 0
  EXPECT_EQ(RedOf(face.at(1, 1)), 0);    // -200, then row T + 1's -100
  EXPECT_EQ(RedOf(face.at(2, 1)), 155);  // row T + 1
  EXPECT_EQ(RedOf(face.at(2, 0)), 55);   // row T
  EXPECT_EQ(RedOf(face.at(0, 3)), 255);  // column L is left alone
  EXPECT_EQ(RedOf(face.at(3, 5)), 195);  // row B
  EXPECT_EQ(RedOf(face.at(5, 0)), 195);  // column R (row T stops at R - 1)
}

TEST(ButtonFace, DisabledFaceIsGreyAndItsLabelIsEngraved) {
  Picture face(6, 5, MakeColour(200, 40, 40));
  ShadeButtonFace(&face, 0, 0, 5, 4, 25, ButtonLook::kDisabled);
  const uint32_t grey = Greyscale(MakeColour(200, 40, 40));
  EXPECT_EQ(face.at(2, 2), grey);                    // no fill when disabled
  EXPECT_EQ(face.at(1, 2), Brighten(grey, -60));     // column L + 1
  EXPECT_EQ(face.at(0, 2), grey);                    // column L unchanged

  const LabelPasses passes = ButtonLabelPasses(0, 0, 75, 19, ButtonLook::kDisabled);
  ASSERT_EQ(passes.count, 2);
  EXPECT_EQ(passes.pass[0].colour, MakeColour(206, 223, 231));
  EXPECT_EQ(passes.pass[0].x, 38);
  EXPECT_EQ(passes.pass[0].y, 4);
  EXPECT_EQ(passes.pass[1].colour, MakeColour(130, 130, 148));
  EXPECT_EQ(passes.pass[1].x, 37);
  EXPECT_EQ(passes.pass[1].y, 3);

  const LabelPasses pressed = ButtonLabelPasses(0, 0, 75, 19, ButtonLook::kPressed);
  ASSERT_EQ(pressed.count, 1);
  EXPECT_EQ(pressed.pass[0].x, 38);
  EXPECT_EQ(pressed.pass[0].y, 4);
  EXPECT_EQ(ButtonLabelPasses(0, 0, 75, 19, ButtonLook::kNormal).pass[0].colour,
            MakeColour(10, 10, 80));
}

TEST(SkinText, PathLabels) {
  EXPECT_EQ(PathLabelOfUpper("C:\\GAMES\\HOMM4\\"), "C:/GAMES/HOMM4");
  EXPECT_EQ(PathLabelOfUpper("C:\\GAMES\\\\"), "C:/GAMES/");  // only one backslash dropped
  EXPECT_EQ(PathLabelOfUpper(""), "");
  EXPECT_EQ(PathLabelOfUpper("\\"), "");
  const std::string long_path = "C:\\" + std::string(60, 'A');
  EXPECT_EQ(PathLabelOfUpper(long_path), "C:/" + std::string(44, 'A'));
  // On a double-byte code page a character that would straddle the cut is left out whole; on a
  // single-byte one every byte is a letter of its own.
  const std::string dbcs = std::string(46, 'A') + "\xB0\xA1";
  EXPECT_EQ(PathLabelOfUpper(dbcs, [](unsigned char b) { return b >= 0xA1; }), std::string(46, 'A'));
  EXPECT_EQ(PathLabelOfUpper(dbcs, [](unsigned char) { return false; }), std::string(46, 'A') + "\xB0");
}

TEST(SkinText, AboutLines) {
  EXPECT_EQ(VersionLine(), "Quillmark v0.95");
  EXPECT_EQ(TranslationHeading("Deutsch"), "Translation into Deutsch :");
}

}  // namespace
}  // namespace qm::skin
