#include "skin/pixel_shade.h"

#include <algorithm>

namespace qm::skin {
namespace {

uint32_t Clamp(int value) { return static_cast<uint32_t>(std::clamp(value, 0, 255)); }

// Runs `op` on every pixel of the inclusive area that lies inside the picture.
template <typename Op>
void ForArea(Picture* picture, int x1, int y1, int x2, int y2, Op op) {
  if (x1 > x2 || y1 > y2) return;
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, picture->width() - 1);
  y2 = std::min(y2, picture->height() - 1);
  for (int y = y1; y <= y2; ++y) {
    uint32_t* row = picture->row(y);
    for (int x = x1; x <= x2; ++x) row[x] = op(row[x]);
  }
}

}  // namespace

uint32_t Brighten(uint32_t colour, int amount) {
  return MakeColour(Clamp(RedOf(colour) + amount), Clamp(GreenOf(colour) + amount),
                    Clamp(BlueOf(colour) + amount));
}

uint32_t Greyscale(uint32_t colour) {
  // Summed in this order in double precision, then truncated.
  double grey = 0.587 * GreenOf(colour);
  grey += 0.114 * BlueOf(colour);
  grey += 0.299 * RedOf(colour);
  const uint32_t g = static_cast<uint32_t>(grey);
  return MakeColour(g, g, g);
}

void BrightenArea(Picture* picture, int x1, int y1, int x2, int y2, int amount) {
  ForArea(picture, x1, y1, x2, y2, [amount](uint32_t c) { return Brighten(c, amount); });
}

void GreyArea(Picture* picture, int x1, int y1, int x2, int y2) {
  ForArea(picture, x1, y1, x2, y2, [](uint32_t c) { return Greyscale(c); });
}

}  // namespace qm::skin
