#include "tools/skinart/quantize.h"

#include <gtest/gtest.h>

#include <set>

namespace qm::skinart {
namespace {

constexpr uint32_t kPanel = 0x00CEFBFF;

TEST(Quantize, KeyPixelsAndOnlyKeyPixelsTakeTheKeyColour) {
  Canvas canvas(64, 16, Rgb{254, 0, 254});  // next to magenta, but not key
  for (int x = 0; x < 64; ++x) canvas.SetKey(x, 0);
  for (int x = 0; x < 64; ++x) canvas.Set(x, 5, Rgb{static_cast<double>(x * 4), 0, 255});
  const IndexedImage image = Quantize(canvas, {kKeyColour, kPanel}, 1.0);
  const Picture colours = Expand(image);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 64; ++x) {
      EXPECT_EQ(colours.at(x, y) == kKeyColour, y == 0) << x << "," << y;
    }
  }
}

TEST(Quantize, FewColoursAndReservedColoursComeThroughExactly) {
  Canvas canvas(20, 10, Rgb{255, 251, 206});
  for (int x = 0; x < 20; ++x) {
    canvas.Set(x, 3, Rgb{static_cast<double>(x * 10), 40, 80});
  }
  const IndexedImage image = Quantize(canvas, {kKeyColour, kPanel}, 0.5);
  ASSERT_EQ(image.palette.size(), 256u);
  EXPECT_EQ(image.palette[0], kKeyColour);
  EXPECT_EQ(image.palette[1], kPanel);
  EXPECT_EQ(Expand(image), ToPicture(canvas));
}

TEST(Quantize, ManyColoursAreReducedCloselyAndTheSameEveryTime) {
  Canvas canvas(128, 128);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) canvas.Set(x, y, Rgb{x * 2.0, y * 2.0, (x + y) * 1.0});
  }
  const IndexedImage a = Quantize(canvas, {kKeyColour}, 0.5);
  const IndexedImage b = Quantize(canvas, {kKeyColour}, 0.5);
  EXPECT_EQ(a.indices, b.indices);
  EXPECT_EQ(a.palette, b.palette);
  const Picture got = Expand(a);
  double error = 0;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const uint32_t c = got.at(x, y);
      error += std::abs(RedOf(c) - x * 2.0) + std::abs(GreenOf(c) - y * 2.0) + std::abs(BlueOf(c) - (x + y));
    }
  }
  EXPECT_LT(error / (128 * 128 * 3), 4.0);
}

TEST(Quantize, ReservedListMustHoldTheKeyColour) {
  EXPECT_THROW(Quantize(Canvas(2, 2), {kPanel}, 0), std::invalid_argument);
}

}  // namespace
}  // namespace qm::skinart
