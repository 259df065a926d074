#include "portrait/preview_layout.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

bool Same(PixelRect a, PixelRect b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

constexpr PixelRect kInner{1, 1, 100, 80};

TEST(PreviewPlacement, SmallPictureKeepsItsSizeCentred) {
  EXPECT_TRUE(Same(PreviewPlacement(40, 30, kInner), {1 + 30, 1 + 25, 40, 30}));
  EXPECT_TRUE(Same(PreviewPlacement(41, 31, kInner), {1 + 29, 1 + 24, 41, 31}));  // halves drop
}

TEST(PreviewPlacement, PictureAsWideAsThePaneIsScaled) {
  // Not strictly smaller on both sides: width-bound (80/30 > 100/100).
  EXPECT_TRUE(Same(PreviewPlacement(100, 30, kInner), {1, 1 + 25, 100, 30}));
}

TEST(PreviewPlacement, PanoramaIsWidthBoundAndTallPictureHeightBound) {
  EXPECT_TRUE(Same(PreviewPlacement(1000, 100, kInner), {1, 1 + 35, 100, 10}));
  EXPECT_TRUE(Same(PreviewPlacement(300, 1200, kInner), {1 + 40, 1, 20, 80}));
  // 333 x 1000: drawn width 333 * 80 / 1000 = 26.64, cut to 26.
  EXPECT_TRUE(Same(PreviewPlacement(333, 1000, kInner), {1 + 37, 1, 26, 80}));
}

TEST(PreviewPlacement, EqualQuotientsAreWidthBound) {
  EXPECT_TRUE(Same(PreviewPlacement(500, 400, kInner), {1, 1, 100, 80}));
}

TEST(PreviewPlacement, NoAreaDrawsNothing) {
  EXPECT_EQ(PreviewPlacement(0, 10, kInner).width, 0);
  EXPECT_EQ(PreviewPlacement(10, 10, {0, 0, 0, 5}).width, 0);
}

}  // namespace
}  // namespace qm
