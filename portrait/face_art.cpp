#include "portrait/face_art.h"

#include <cstdint>

namespace qm {
namespace {

// Largest r with r * r <= n.
uint64_t IntegerSquareRoot(uint64_t n) {
  uint64_t root = 0;
  uint64_t bit = uint64_t{1} << 62;
  while (bit > n) bit >>= 2;
  while (bit != 0) {
    if (n >= root + bit) {
      n -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
    bit >>= 2;
  }
  return root;
}

// Squared distance of pixel (x, y)'s centre from the square's centre, in half pixels, so that
// it stays an integer for odd and even sizes alike.
uint64_t HalfPixelDistanceSquared(int x, int y, int size) {
  const int64_t dx = 2 * int64_t{x} + 1 - size;
  const int64_t dy = 2 * int64_t{y} + 1 - size;
  return static_cast<uint64_t>(dx * dx + dy * dy);
}

bool InsideDisc(uint64_t half_distance_squared, int size) {
  return half_distance_squared <= static_cast<uint64_t>(size) * static_cast<uint64_t>(size);
}

}  // namespace

Picture MakeFaceMask(int size) {
  Picture mask(size, size, kColourBlack);
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) {
      if (InsideDisc(HalfPixelDistanceSquared(x, y, size), size)) mask.at(x, y) = kColourWhite;
    }
  }
  return mask;
}

Picture MakeRingOverlay(int size) {
  Picture overlay(size, size, kColourBlack);
  if (overlay.empty()) return overlay;
  // Radii in 1/256 pixel: the inner edge at round(size x 31 / 82), the outer at size / 2.
  const int64_t inner = (int64_t{size} * 62 + 82) / 164 * 256;
  const int64_t outer = int64_t{size} * 128;
  const int64_t band = outer > inner ? outer - inner : 1;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const uint64_t d2 = HalfPixelDistanceSquared(x, y, size);
      if (!InsideDisc(d2, size)) continue;
      // sqrt(d2) half pixels = sqrt(d2 x 128^2) / 256 pixels.
      const int64_t distance = static_cast<int64_t>(IntegerSquareRoot(d2 * 16384));
      if (distance < inner) continue;
      int64_t grey = kRingInnerGrey + (kRingOuterGrey - kRingInnerGrey) * (distance - inner) / band;
      if (grey > kRingOuterGrey) grey = kRingOuterGrey;
      overlay.at(x, y) = MakeColour(static_cast<uint32_t>(grey), static_cast<uint32_t>(grey),
                                    static_cast<uint32_t>(grey));
    }
  }
  return overlay;
}

}  // namespace qm
