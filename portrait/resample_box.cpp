// Portable stand-ins for the platform's two stretch modes: nearest pixel (COLORONCOLOR) and
// area averaging (HALFTONE). Integer arithmetic only.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "portrait/resample_internal.h"

namespace qm::resample {
namespace {

// Overlap of source pixel i with target pixel t on one axis, in units where a source pixel is
// `target` long and a target pixel `source` long (both spans then cover source x target).
struct Tap {
  int source_index;
  uint64_t weight;
};

std::vector<std::vector<Tap>> TapsOf(int source, int target) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(target));
  const int64_t s = source, d = target;
  for (int64_t t = 0; t < d; ++t) {
    const int64_t lo = t * s, hi = (t + 1) * s;
    for (int64_t i = lo / d; i < s && i * d < hi; ++i) {
      const int64_t overlap = std::min(hi, (i + 1) * d) - std::max(lo, i * d);
      if (overlap > 0) {
        taps[static_cast<size_t>(t)].push_back({static_cast<int>(i), static_cast<uint64_t>(overlap)});
      }
    }
  }
  return taps;
}

}  // namespace

void NearestPixel(const Picture& picture, PixelRect from, int dw, int dh, uint32_t* out) {
  std::vector<int> columns(static_cast<size_t>(dw));
  for (int x = 0; x < dw; ++x) {
    columns[static_cast<size_t>(x)] =
        from.x + static_cast<int>((2 * int64_t{x} + 1) * from.width / (2 * int64_t{dw}));
  }
  for (int y = 0; y < dh; ++y) {
    const int sy = from.y + static_cast<int>((2 * int64_t{y} + 1) * from.height / (2 * int64_t{dh}));
    const uint32_t* row = picture.row(sy);
    for (int x = 0; x < dw; ++x) *out++ = row[columns[static_cast<size_t>(x)]];
  }
}

void AreaAverage(const Picture& picture, PixelRect from, int dw, int dh, uint32_t* out) {
  const auto column_taps = TapsOf(from.width, dw);
  const auto row_taps = TapsOf(from.height, dh);
  // Horizontal pass: each source row of the rectangle becomes dw weighted channel sums.
  const size_t sums_per_row = static_cast<size_t>(dw) * 3;
  std::vector<uint64_t> rows(static_cast<size_t>(from.height) * sums_per_row);
  for (int y = 0; y < from.height; ++y) {
    const uint32_t* in = picture.row(from.y + y) + from.x;
    uint64_t* sums = rows.data() + static_cast<size_t>(y) * sums_per_row;
    for (int x = 0; x < dw; ++x) {
      uint64_t r = 0, g = 0, b = 0;
      for (const Tap& tap : column_taps[static_cast<size_t>(x)]) {
        const uint32_t c = in[tap.source_index];
        r += (c & 0xFF) * tap.weight;
        g += ((c >> 8) & 0xFF) * tap.weight;
        b += ((c >> 16) & 0xFF) * tap.weight;
      }
      sums[3 * x] = r;
      sums[3 * x + 1] = g;
      sums[3 * x + 2] = b;
    }
  }
  // Vertical pass, then divide by the area a target pixel covers, rounding to nearest.
  const uint64_t area = static_cast<uint64_t>(from.width) * static_cast<uint64_t>(from.height);
  std::vector<uint64_t> acc(sums_per_row);
  for (int y = 0; y < dh; ++y) {
    std::fill(acc.begin(), acc.end(), 0);
    for (const Tap& tap : row_taps[static_cast<size_t>(y)]) {
      const uint64_t* sums = rows.data() + static_cast<size_t>(tap.source_index) * sums_per_row;
      for (size_t i = 0; i < sums_per_row; ++i) acc[i] += sums[i] * tap.weight;
    }
    for (int x = 0; x < dw; ++x) {
      uint32_t value = 0;
      for (int c = 0; c < 3; ++c) {
        const uint64_t channel = (acc[static_cast<size_t>(3 * x + c)] + area / 2) / area;
        value |= static_cast<uint32_t>(std::min<uint64_t>(channel, 255)) << (8 * c);
      }
      *out++ = value;
    }
  }
}

}  // namespace qm::resample
