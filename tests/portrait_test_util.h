// Helpers for the portrait tests: readable pictures in failure messages, a fixed
// pseudo-random picture and a checksum of pixels.
#pragma once

#include <cstdint>
#include <ostream>

#include "portrait/picture.h"

namespace qm {

// GoogleTest prints a picture as its size and its first differing-looking pixels.
inline void PrintTo(const Picture& p, std::ostream* os) {
  *os << p.width() << "x" << p.height() << " {";
  const size_t shown = p.pixels().size() < 8 ? p.pixels().size() : 8;
  for (size_t i = 0; i < shown; ++i) *os << (i ? " " : "") << std::hex << p.pixels()[i] << std::dec;
  *os << (shown < p.pixels().size() ? " ...}" : "}");
}

namespace test {

// The same pixels in every build: a linear congruential sequence.
inline Picture PseudoRandomPicture(int width, int height, uint32_t seed) {
  Picture p(width, height);
  for (uint32_t& px : p.pixels()) {
    seed = seed * 1103515245u + 12345u;
    px = (seed >> 8) & 0xFFFFFF;
  }
  return p;
}

// FNV-1a over the pixels' bytes, low byte first.
inline uint64_t PixelChecksum(const Picture& p) {
  uint64_t h = 14695981039346656037ull;
  for (uint32_t px : p.pixels()) {
    for (int i = 0; i < 4; ++i) {
      h ^= (px >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  }
  return h;
}

}  // namespace test
}  // namespace qm
