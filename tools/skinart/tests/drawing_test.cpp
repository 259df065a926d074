// The drawing primitives the artwork stands on: distances, noise, lighting and the frame.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/skinart/lighting.h"
#include "tools/skinart/materials.h"
#include "tools/skinart/noise.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

TEST(Shapes, RoundRectDistanceIsSignedAndRoundsTheCorners) {
  const Box box{10, 10, 30, 20};
  EXPECT_DOUBLE_EQ(RoundRectDistance(20, 15, box, 2), -5.0);  // centre: 5 from top and bottom
  EXPECT_DOUBLE_EQ(RoundRectDistance(35, 15, box, 2), 5.0);   // right of the box
  // Corner: the square corner (10, 10) lies outside the rounding by r (sqrt 2 - 1).
  EXPECT_NEAR(RoundRectDistance(10, 10, box, 4), 4 * (std::sqrt(2.0) - 1), 1e-12);
  EXPECT_DOUBLE_EQ(Coverage(-3), 1.0);
  EXPECT_DOUBLE_EQ(Coverage(0), 0.5);
  EXPECT_DOUBLE_EQ(Coverage(3), 0.0);
}

TEST(Shapes, PolygonDistanceKnowsInsideFromOutside) {
  const double square[] = {0, 0, 10, 0, 10, 10, 0, 10};
  EXPECT_DOUBLE_EQ(PolygonDistance(5, 5, square, 4), -5.0);
  EXPECT_DOUBLE_EQ(PolygonDistance(13, 5, square, 4), 3.0);
  const double triangle[] = {0, 0, 10, 0, 0, 10};
  EXPECT_GT(PolygonDistance(8, 8, triangle, 3), 0.0);
  EXPECT_LT(PolygonDistance(2, 2, triangle, 3), 0.0);
}

TEST(Noise, IsRepeatableInRangeAndDependsOnTheSeed) {
  double low = 1, high = 0;
  int differ = 0;
  for (int i = 0; i < 500; ++i) {
    const double x = i * 0.37, y = i * 0.11;
    const double a = Fractal(x, y, 4, 7);
    EXPECT_EQ(a, Fractal(x, y, 4, 7));
    low = std::min(low, a);
    high = std::max(high, a);
    if (ValueNoise(x, y, 7) != ValueNoise(x, y, 8)) ++differ;
  }
  EXPECT_GE(low, 0.0);
  EXPECT_LT(high, 1.0);
  EXPECT_GT(high - low, 0.3);
  EXPECT_GT(differ, 450);
  // Lattice points carry the hash itself, so the noise is continuous between them.
  EXPECT_DOUBLE_EQ(ValueNoise(3, 4, 1), HashUnit(3, 4, 1));
}

TEST(Lighting, LevelGroundIsUnshadedAndSlopesFacingTheLightAreBrighter) {
  Field flat(5, 5, 2.0);
  EXPECT_NEAR(Shade(flat, 2, 2), 1.0, 1e-12);
  Field rising(5, 5);  // higher towards the lower right: faces the light at the upper left
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) rising.Ref(x, y) = x + y;
  }
  EXPECT_GT(Shade(rising, 2, 2), 1.0);
  Field falling(5, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) falling.Ref(x, y) = -(x + y);
  }
  EXPECT_LT(Shade(falling, 2, 2), 1.0);
  // The metal ramp runs from dark through its middle to light as the surface turns to the light.
  const Rgb away = Metal(kGold, 0.0), level = Metal(kGold, Facing(flat, 2, 2)), toward = Metal(kGold, 0.95);
  EXPECT_LT(away.r + away.g + away.b, level.r + level.g + level.b);
  EXPECT_LT(level.r + level.g + level.b, toward.r + toward.g + toward.b);
}

TEST(Frame, CutsOutsideTheOutlineAndLeavesTheOpeningAlone) {
  Relief relief(40, 30, Rgb{1, 2, 3});
  const auto outer = [](double px, double py) { return RoundRectDistance(px, py, Box{0, 0, 40, 30}, 8); };
  const auto opening = [](double px, double py) { return RoundRectDistance(px, py, Box{8, 8, 32, 22}, 0); };
  CarveFrame(relief, outer, opening, [](int, int) { return false; }, FrameStyle{});
  EXPECT_TRUE(relief.IsKey(0, 0));     // rounded-off corner
  EXPECT_FALSE(relief.IsKey(20, 1));   // the frame's board
  EXPECT_FALSE(relief.IsKey(20, 15));  // the opening
  const Canvas lit = relief.Render();
  const Rgb inside = lit.Get(20, 15);
  EXPECT_DOUBLE_EQ(inside.r, 1.0);  // untouched and level: unshaded
  EXPECT_DOUBLE_EQ(inside.b, 3.0);
  const Rgb board = lit.Get(20, 3);
  EXPECT_GT(board.r, board.b);  // walnut, not the fill
  EXPECT_NE(board.r, 1.0);
}

}  // namespace
}  // namespace qm::skinart
