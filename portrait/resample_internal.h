// The computed resize methods over a padded source; used by StretchWithMethod only.
#pragma once

#include <cstdint>
#include <vector>

#include "portrait/picture.h"

namespace qm::resample {

// Source of width x height pixels with a two-pixel frame around it that repeats the nearest
// edge pixel. at(x, y) is valid for x in -2 .. width + 1 and y in -2 .. height + 1.
class PaddedSource {
 public:
  PaddedSource(const Picture& picture, PixelRect from);

  int width() const { return width_; }
  int height() const { return height_; }
  const uint32_t* row(int y) const {
    return pixels_.data() + static_cast<size_t>(y + 2) * stride_ + 2;
  }
  uint32_t at(int x, int y) const { return row(y)[x]; }

 private:
  int width_;
  int height_;
  size_t stride_;
  std::vector<uint32_t> pixels_;
};

// Each writes dw x dh colour values, row by row, into out (sized by the caller).
void SmoothBresenham(const PaddedSource& source, int dw, int dh, uint32_t* out);
void Bilinear(const PaddedSource& source, int dw, int dh, uint32_t* out);
void Bicubic(const PaddedSource& source, int dw, int dh, uint32_t* out);

// Stand-ins for the platform's two stretch modes, straight from the picture.
void NearestPixel(const Picture& picture, PixelRect from, int dw, int dh, uint32_t* out);
void AreaAverage(const Picture& picture, PixelRect from, int dw, int dh, uint32_t* out);

}  // namespace qm::resample
