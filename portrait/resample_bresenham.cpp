// Smooth Bresenham: integer stepping over columns, then over rows, averaging a sample with its
// next neighbour when the stepping error has passed the midpoint.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "portrait/resample.h"
#include "portrait/resample_internal.h"

namespace qm::resample {
namespace {

// When the target is at least as large as the source, the last `tail` targets repeat the
// source pixel where the walk stopped instead of averaging it with the frame beyond the edge.
int TailOf(int source_size, int target_size) {
  return target_size < source_size ? 0 : target_size / (2 * source_size) + 1;
}

// Scales one source row of sw pixels (readable one past its end, in the frame) into tw pixels.
void ScaleLine(const uint32_t* s, int sw, int tw, uint32_t* t) {
  const int step = sw / tw;
  const int fraction = sw % tw;
  const int mid = tw / 2;
  const int tail = TailOf(sw, tw);
  const int count = tw - tail;
  if (count <= 0) {
    std::fill(t, t + std::min(tail, tw), s[0]);
    return;
  }
  int e = 0;
  int i = 0;
  for (int n = 0; n < count; ++n) {
    uint32_t p = s[i];
    if (e >= mid) p = AverageColours(p, s[i + 1]);
    *t++ = p;
    i += step;
    e += fraction;
    if (e >= tw) {
      e -= tw;
      ++i;
    }
  }
  std::fill(t, t + tail, s[i]);
}

}  // namespace

void SmoothBresenham(const PaddedSource& source, int tw, int th, uint32_t* out) {
  const int sw = source.width();
  const int sh = source.height();
  const int step = sh / th;
  const int fraction = sh % th;
  const int mid = th / 2;
  const int tail = TailOf(sh, th);
  const int count = th - tail;

  const size_t line = static_cast<size_t>(tw);
  std::vector<uint32_t> a(line), b(line);  // current line, look-ahead line
  std::vector<uint32_t> row;               // the source row being scaled, with its frame
  constexpr int kNone = -1;
  int last_scaled = kNone;
  int last_ahead = kNone;
  int written = 0;
  int e = 0;
  int r = 0;
  for (int n = 0; n < count; ++n) {
    if (r != last_scaled) {
      if (r == last_ahead) {
        std::swap(a, b);
      } else {
        ScaleLine(source.CopyRow(r, &row), sw, tw, a.data());
      }
      last_scaled = r;
    }
    // Row r + 1 may be the bottom frame row. When it is already the look-ahead row, the
    // current line (possibly averaged for the previous target row) is used as it is.
    if (e >= mid && last_ahead != r + 1) {
      ScaleLine(source.CopyRow(r + 1, &row), sw, tw, b.data());
      for (size_t x = 0; x < line; ++x) a[x] = AverageColours(a[x], b[x]);
      last_ahead = r + 1;
    }
    std::copy(a.begin(), a.end(), out + static_cast<size_t>(written++) * line);
    r += step;
    e += fraction;
    if (e >= th) {
      e -= th;
      ++r;
    }
  }
  if (tail >= 1) {
    if (r != last_scaled) ScaleLine(source.CopyRow(r, &row), sw, tw, a.data());
    for (int n = 0; n < tail && written < th; ++n) {
      std::copy(a.begin(), a.end(), out + static_cast<size_t>(written++) * line);
    }
  }
}

}  // namespace qm::resample
