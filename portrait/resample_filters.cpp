// Bilinear and Bicubic. Every rounding point is fixed (single precision where a value is
// stored as float, double precision elsewhere), and no library function whose last bit may
// differ between C runtimes is used, so the host and the 32-bit Windows build agree bit for bit.
#include <cmath>
#include <cstdint>

#include "portrait/resample.h"
#include "portrait/resample_internal.h"

namespace qm {
namespace {

// u cubed: the square of a float is exact in double, so the one rounding of the second
// product gives the correctly rounded cube, the same in every build.
double Cube(float u) {
  const double square = static_cast<double>(u) * static_cast<double>(u);
  return square * static_cast<double>(u);
}

float Positive(float u) { return u > 0.0f ? u : 0.0f; }

}  // namespace

float BsplineWeight(float t) {
  const float a = static_cast<float>(Cube(Positive(t + 2.0f)));
  const float b = static_cast<float>(Cube(Positive(t + 1.0f)));
  const float c = static_cast<float>(Cube(Positive(t)));
  const double d = Cube(Positive(t - 1.0f));
  const double sum = ((static_cast<double>(a) - 4.0 * b) + 6.0 * c) - 4.0 * d;
  return static_cast<float>(sum * static_cast<double>(0.16666667f));
}

}  // namespace qm

namespace qm::resample {
namespace {

// 1 / (target / source), stored in single precision.
float ScaleOf(int target, int source) {
  return static_cast<float>(1.0 / (static_cast<double>(target) / static_cast<double>(source)));
}

struct Sample {
  int index;           // the source pixel at or before the sample
  float offset;        // distance past it, 0 <= offset < 1
  float one_minus;     // 1 - offset, in single precision
};

// The sample position of target pixel `position`: the index from the exact product, the
// offset from the product rounded to single precision. `last` keeps the index inside the
// source (it only matters for sizes beyond single precision's reach).
Sample SampleAt(int position, float scale, int last) {
  const double product = static_cast<double>(position) * static_cast<double>(scale);
  const float rounded = static_cast<float>(product);
  Sample s;
  s.index = static_cast<int>(std::floor(product));
  if (s.index > last) s.index = last;
  if (s.index < 0) s.index = 0;
  s.offset = rounded - std::floor(rounded);
  s.one_minus = 1.0f - s.offset;
  return s;
}

uint32_t Channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

}  // namespace

void Bilinear(const PaddedSource& source, int dw, int dh, uint32_t* out) {
  const float x_scale = ScaleOf(dw, source.width());
  const float y_scale = ScaleOf(dh, source.height());
  for (int y = 0; y < dh; ++y) {
    const Sample sy = SampleAt(y, y_scale, source.height() - 1);
    const double wy0 = sy.one_minus, wy1 = sy.offset;
    for (int x = 0; x < dw; ++x) {
      const Sample sx = SampleAt(x, x_scale, source.width() - 1);
      const double wx0 = sx.one_minus, wx1 = sx.offset;
      const uint32_t p00 = source.at(sx.index, sy.index);
      const uint32_t p01 = source.at(sx.index + 1, sy.index);
      const uint32_t p10 = source.at(sx.index, sy.index + 1);
      const uint32_t p11 = source.at(sx.index + 1, sy.index + 1);
      uint32_t value = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const double v = wy0 * (wx0 * Channel(p00, shift) + wx1 * Channel(p01, shift)) +
                         wy1 * (wx0 * Channel(p10, shift) + wx1 * Channel(p11, shift));
        value |= (static_cast<uint32_t>(static_cast<int64_t>(std::floor(v))) & 0xFF) << shift;
      }
      *out++ = value;
    }
  }
}

void Bicubic(const PaddedSource& source, int dw, int dh, uint32_t* out) {
  const float x_scale = ScaleOf(dw, source.width());
  const float y_scale = ScaleOf(dh, source.height());
  for (int y = 0; y < dh; ++y) {
    const Sample sy = SampleAt(y, y_scale, source.height() - 1);
    float wy[4];
    for (int m = -1; m <= 2; ++m) wy[m + 1] = BsplineWeight(static_cast<float>(m) - sy.offset);
    for (int x = 0; x < dw; ++x) {
      const Sample sx = SampleAt(x, x_scale, source.width() - 1);
      float wx[4];
      for (int n = -1; n <= 2; ++n) wx[n + 1] = BsplineWeight(-(static_cast<float>(n) - sx.offset));
      const uint32_t* rows[4];
      int columns[4];
      for (int k = 0; k < 4; ++k) {
        rows[k] = source.RowAt(sy.index + k - 1);
        columns[k] = source.ColumnAt(sx.index + k - 1);
      }
      uint32_t value = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        float s = 0.0f;
        for (int m = -1; m <= 2; ++m) {
          const uint32_t* row = rows[m + 1];
          for (int n = -1; n <= 2; ++n) {
            const double term = static_cast<double>(wx[n + 1]) *
                                static_cast<double>(Channel(row[columns[n + 1]], shift)) *
                                static_cast<double>(wy[m + 1]);
            s = static_cast<float>(static_cast<double>(s) + term);
          }
        }
        value |= (static_cast<uint32_t>(static_cast<int64_t>(std::floor(s))) & 0xFF) << shift;
      }
      *out++ = value;
    }
  }
}

}  // namespace qm::resample
