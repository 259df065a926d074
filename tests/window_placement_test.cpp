// Centring the programs' popup windows on the screen.
#include <gtest/gtest.h>

#include "shell/window_placement.h"

namespace qm {
namespace {

TEST(WindowPlacement, CentresOnTheScreen) {
  const WindowOrigin editor = CentredOrigin(1024, 768, 540, 440);
  EXPECT_EQ(editor.left, 242);
  EXPECT_EQ(editor.top, 164);
  const WindowOrigin odd = CentredOrigin(1025, 769, 480, 240);  // halves truncate
  EXPECT_EQ(odd.left, 272);
  EXPECT_EQ(odd.top, 264);
}

TEST(WindowPlacement, SmallScreensGiveNegativeOriginsTruncatedTowardZero) {
  const WindowOrigin small = CentredOrigin(500, 400, 540, 440);
  EXPECT_EQ(small.left, -20);
  EXPECT_EQ(small.top, -20);
  const WindowOrigin one_short = CentredOrigin(539, 437, 540, 440);
  EXPECT_EQ(one_short.left, 0);  // -1 / 2 is 0, not -1
  EXPECT_EQ(one_short.top, -1);  // -3 / 2 is -1, not -2
}

}  // namespace
}  // namespace qm
