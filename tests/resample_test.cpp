#include "portrait/resample.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/portrait_test_util.h"

namespace qm {
namespace {

constexpr int kComputedMethods[] = {kResizeSmoothBresenham, kResizeBilinear, kResizeBicubic};
constexpr int kAllMethods[] = {kResizeSmart, kResizeHalftone, kResizeSmoothBresenham,
                               kResizeBilinear, kResizeBicubic};

Picture Row(std::initializer_list<uint32_t> pixels) {
  Picture p(static_cast<int>(pixels.size()), 1);
  std::copy(pixels.begin(), pixels.end(), p.pixels().begin());
  return p;
}

Picture Stretch(const Picture& source, int width, int height, int method) {
  Picture target(width, height);
  EXPECT_TRUE(StretchWithMethod(source, {0, 0, source.width(), source.height()}, &target,
                                {0, 0, width, height}, method));
  return target;
}

Picture Reds(std::initializer_list<uint32_t> reds) {
  Picture p(static_cast<int>(reds.size()), 1);
  std::copy(reds.begin(), reds.end(), p.pixels().begin());
  return p;
}

TEST(Resample, AverageOfTwoColoursDropsTheLowBitsOfGreenAndBlueBeforeAdding) {
  EXPECT_EQ(AverageColours(MakeColour(1, 1, 1), kColourBlack), kColourBlack);
  EXPECT_EQ(AverageColours(MakeColour(1, 0, 0), MakeColour(1, 0, 0)), MakeColour(1, 0, 0));
  EXPECT_EQ(AverageColours(MakeColour(0, 3, 0), MakeColour(0, 3, 0)), MakeColour(0, 2, 0));
  EXPECT_EQ(AverageColours(kColourWhite, kColourWhite), MakeColour(255, 254, 254));
}

TEST(Resample, EqualSizesCopyUnchangedWithEveryMethod) {
  const Picture source = test::PseudoRandomPicture(9, 7, 1);
  for (const int method : std::initializer_list<int>{kResizeSmart, kResizeHalftone,
                           kResizeSmoothBresenham, kResizeBilinear,
                           kResizeBicubic, 99}) {
    Picture target(11, 9, kColourWhite);
    ASSERT_TRUE(StretchWithMethod(source, {0, 0, 9, 7}, &target, {2, 1, 9, 7}, method));
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 9; ++x) EXPECT_EQ(target.at(x + 2, y + 1), source.at(x, y));
    }
    EXPECT_EQ(target.at(0, 0), kColourWhite);  // outside the target rectangle
  }
}

TEST(Resample, SmoothBresenhamRows) {
  const uint32_t a = MakeColour(10, 20, 30), b = MakeColour(50, 60, 70), c = MakeColour(90, 100, 110),
                 d = MakeColour(130, 140, 150);
  // 4 -> 2: step 2, no fraction: pixels 0 and 2 as they are.
  EXPECT_EQ(Stretch(Row({a, b, c, d}), 2, 1, kResizeSmoothBresenham), Row({a, c}));
  // 3 -> 2: pixel 0, then the average of pixels 1 and 2.
  EXPECT_EQ(Stretch(Row({a, b, c}), 2, 1, kResizeSmoothBresenham), Row({a, AverageColours(b, c)}));
  // 2 -> 4: tail 2: pixel 0, the average of 0 and 1, then pixel 1 twice.
  EXPECT_EQ(Stretch(Row({a, b}), 4, 1, kResizeSmoothBresenham),
            Row({a, AverageColours(a, b), b, b}));
}

TEST(Resample, SmoothBresenhamColumnsAverageWithTheLookAheadRow) {
  // 1 x 3 -> 1 x 2 is the 3 -> 2 case turned upright.
  Picture column(1, 3);
  column.at(0, 0) = MakeColour(10, 0, 0);
  column.at(0, 1) = MakeColour(20, 0, 0);
  column.at(0, 2) = MakeColour(40, 0, 0);
  Picture out = Stretch(column, 2, 2, kResizeSmoothBresenham);
  EXPECT_EQ(out.at(0, 0), MakeColour(10, 0, 0));
  EXPECT_EQ(out.at(1, 0), MakeColour(10, 0, 0));
  EXPECT_EQ(out.at(0, 1), MakeColour(30, 0, 0));
  // 2 -> 5 rows: the tail repeats the last row, never the frame below it.
  Picture two(1, 2);
  two.at(0, 0) = MakeColour(100, 0, 0);
  two.at(0, 1) = MakeColour(200, 0, 0);
  out = Stretch(two, 1, 5, kResizeSmoothBresenham);
  EXPECT_EQ(out.at(0, 0), MakeColour(100, 0, 0));
  EXPECT_EQ(out.at(0, 4), MakeColour(200, 0, 0));
}

TEST(Resample, BilinearWideningReadsTheFrameAtTheRightEdge) {
  EXPECT_EQ(Stretch(Reds({0, 100}), 4, 1, kResizeBilinear), Reds({0, 50, 100, 100}));
  // The bottom and right edges repeat the edge colours: no dark seam. (1 - dx is rounded to
  // single precision, so the two weights may add up to a hair less than one: a level lower.)
  const Picture flat(3, 3, MakeColour(200, 100, 50));
  const Picture out = Stretch(flat, 7, 8, kResizeBilinear);
  for (const uint32_t px : out.pixels()) {
    EXPECT_GE(RedOf(px), 199);
    EXPECT_GE(GreenOf(px), 99);
    EXPECT_GE(BlueOf(px), 49);
  }
}

TEST(Resample, BsplineWeightsAtWholeDistances) {
  EXPECT_FLOAT_EQ(BsplineWeight(0.0f), 4.0f / 6);
  EXPECT_FLOAT_EQ(BsplineWeight(1.0f), 1.0f / 6);
  EXPECT_FLOAT_EQ(BsplineWeight(-1.0f), 1.0f / 6);
  EXPECT_EQ(BsplineWeight(2.0f), 0.0f);
  EXPECT_EQ(BsplineWeight(-2.0f), 0.0f);
  EXPECT_GT(BsplineWeight(0.5f), BsplineWeight(1.5f));
}

TEST(Resample, BicubicSmoothsEvenOnASourcePixel) {
  // 4 x 4 black with one grey pixel at (1, 1); doubling samples it exactly at target (2, 2):
  // 240 x (4/6)^2, about 106.7, rounded down.
  Picture source(4, 4);
  source.at(1, 1) = MakeColour(240, 240, 240);
  const Picture out = Stretch(source, 8, 8, kResizeBicubic);
  EXPECT_EQ(out.at(2, 2), MakeColour(106, 106, 106));
  EXPECT_EQ(out.at(0, 2), MakeColour(26, 26, 26));  // 240 x 1/6 x 4/6 = 26.7: a neighbour's share
}

TEST(Resample, BicubicOnFlatWhiteStaysWithinOneLevel) {
  const Picture white(17, 13, kColourWhite);
  const Picture out = Stretch(white, 82, 82, kResizeBicubic);
  int darker = 0;
  for (const uint32_t px : out.pixels()) {
    for (const uint8_t ch : {RedOf(px), GreenOf(px), BlueOf(px)}) {
      ASSERT_GE(ch, 254);
      darker += ch == 254;
    }
  }
  EXPECT_GT(darker, 0);  // the weights of some samples add up to a hair below one
}

TEST(Resample, StandInsForThePlatformModes) {
  // Nearest pixel takes the source pixel under each target pixel's centre.
  EXPECT_EQ(Stretch(Reds({10, 20, 30, 40}), 2, 1, kResizeSmart), Reds({20, 40}));
  EXPECT_EQ(Stretch(Reds({10, 20}), 4, 1, kResizeSmart), Reds({10, 10, 20, 20}));
  // Area averaging weighs each source pixel by how much of the target pixel it covers.
  EXPECT_EQ(Stretch(Reds({10, 20, 30, 41}), 2, 1, kResizeHalftone), Reds({15, 36}));
  EXPECT_EQ(Stretch(Reds({0, 90, 30}), 2, 1, kResizeHalftone), Reds({30, 50}));
  EXPECT_EQ(Stretch(Picture(5, 3, kColourWhite), 2, 2, kResizeHalftone), Picture(2, 2, kColourWhite));
}

TEST(Resample, RefusesEmptyOrOutsideRectanglesAndLeavesTheTargetAlone) {
  const Picture source = test::PseudoRandomPicture(10, 10, 3);
  const Picture before(8, 8, MakeColour(1, 2, 3));
  struct Case {
    PixelRect from, to;
    int method;
  };
  const Case cases[] = {
      {{3, 3, 0, 5}, {0, 0, 8, 8}, kResizeBilinear},   // zero width
      {{3, 3, 5, 0}, {0, 0, 8, 8}, kResizeBicubic},    // zero height
      {{6, 0, 5, 5}, {0, 0, 8, 8}, kResizeBilinear},   // past the right edge
      {{-1, 0, 5, 5}, {0, 0, 8, 8}, kResizeSmart},
      {{0, 0, 5, 5}, {4, 4, 5, 5}, kResizeBilinear},   // target past its edge
      {{0, 0, 5, 5}, {0, 0, -2, 4}, kResizeBilinear},  // negative size
      {{0, 0, 5, 5}, {0, 0, 8, 8}, 2},                 // unknown method
  };
  for (const Case& c : cases) {
    Picture target = before;
    EXPECT_FALSE(StretchWithMethod(source, c.from, &target, c.to, c.method));
    EXPECT_EQ(target, before);
  }
  Picture target = before;
  EXPECT_TRUE(StretchWithMethod(source, {0, 0, 5, 5}, &target, {0, 0, 0, 8}, kResizeBilinear));
  EXPECT_EQ(target, before);
}

TEST(Resample, TallAndOddSizesStayInsideTheirBuffers) {
  // Taller than 2,048 rows, and extreme ratios both ways, for every method.
  const Picture tall = test::PseudoRandomPicture(3, 2100, 7);
  for (const int method : kAllMethods) {
    Stretch(tall, 2, 5, method);
    Stretch(tall, 82, 82, method);
  }
  for (int sw = 1; sw <= 9; ++sw) {
    for (int tw = 1; tw <= 9; ++tw) {
      const Picture source = test::PseudoRandomPicture(sw, 10 - sw, static_cast<uint32_t>(sw));
      for (const int method : kAllMethods) Stretch(source, tw, 11 - tw, method);
    }
  }
}

TEST(Resample, ComputedMethodsReadOnlyTheSourceRectangle) {
  // A rectangle inside a larger picture gives the same result as the same pixels on their own.
  const Picture big = test::PseudoRandomPicture(30, 20, 11);
  Picture part(12, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 12; ++x) part.at(x, y) = big.at(x + 5, y + 4);
  }
  for (const int method : kComputedMethods) {
    Picture a(7, 5), b(7, 5);
    ASSERT_TRUE(StretchWithMethod(big, {5, 4, 12, 9}, &a, {0, 0, 7, 5}, method));
    ASSERT_TRUE(StretchWithMethod(part, {0, 0, 12, 9}, &b, {0, 0, 7, 5}, method));
    EXPECT_EQ(a, b) << method;
  }
}

// Checksums of fixed inputs, so that the same test in the 32-bit Windows build proves that
// both builds resize bit for bit alike.
TEST(Resample, GoldenChecksumsAreTheSameInEveryBuild) {
  struct Golden {
    int method, sw, sh, dw, dh;
    uint64_t checksum;
  };
  const Golden goldens[] = {
#include "tests/resample_golden.inc"
  };
  for (const Golden& g : goldens) {
    const Picture source = test::PseudoRandomPicture(g.sw, g.sh, 2024);
    const uint64_t got = test::PixelChecksum(Stretch(source, g.dw, g.dh, g.method));
    EXPECT_EQ(got, g.checksum) << "{" << g.method << ", " << g.sw << ", " << g.sh << ", " << g.dw
                               << ", " << g.dh << ", 0x" << std::hex << got << "ull},";
  }
}

}  // namespace
}  // namespace qm
