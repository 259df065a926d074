// Resampling: stretch a rectangle of one picture into a rectangle of another with one of the
// five resize methods.
//
//   Status s = StretchWithMethod(picture, {0, 0, 640, 480}, &face, {0, 0, 82, 82},
//                                kResizeBilinear);
//
// Methods (the ids of the resize method value table):
//   3 smart         nearest pixel (the editor uses the platform's COLORONCOLOR stretch)
//   4 halftone      area averaging (the editor uses the platform's HALFTONE stretch)
//   5 s-bresenham   Smooth Bresenham: Bresenham stepping over rows and columns, a pixel that
//                   falls past the midpoint of a step is averaged with its right (lower)
//                   neighbour
//   6 blinear       bilinear interpolation between the four nearest source pixels
//   7 bcubic        cubic B-spline over the 4 x 4 nearest source pixels (smooths; a flat area
//                   can come out one level darker)
// Methods 5 to 7 read the source through a copy padded with a two-pixel frame that repeats
// the edge pixels, so samples at the edges repeat the edge colours. Their floating-point steps
// round at fixed points in single or double precision, so every build gives the same bits.
//
// Equal source and target sizes copy the pixels unchanged whatever the method. Failure, with
// the target unchanged: a source of zero width or height, a rectangle with a negative size or
// outside its picture, an unknown method, or memory that cannot be had. A target rectangle
// of zero width or height succeeds without drawing.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "heroes/value_tables.h"
#include "portrait/picture.h"

namespace qm {

Status StretchWithMethod(const Picture& source, PixelRect from, Picture* target, PixelRect to,
                         int method);

// Smooth Bresenham's average of two colour values: red rounded down from the sum, green and
// blue as the sum of the halves, each half rounded down.
constexpr uint32_t AverageColours(uint32_t a, uint32_t b) {
  return ((a & 0xFEFEFEFFu) + (b & 0xFEFEFEFFu)) >> 1;
}

// The cubic B-spline weight of a sample at distance t, as Bicubic uses it.
float BsplineWeight(float t);

}  // namespace qm
