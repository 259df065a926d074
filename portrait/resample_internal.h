// The computed resize methods over a padded source; used by StretchWithMethod only.
#pragma once

#include <cstdint>
#include <vector>

#include "portrait/picture.h"

namespace qm::resample {

// A source rectangle of width x height pixels read as if a two-pixel frame around it repeated
// the nearest edge pixel: at(x, y) is valid for x in -2 .. width + 1 and y in -2 .. height + 1.
// It reads the picture in place, so a large picture is never copied; only a row asked for whole
// (CopyRow) is copied, with its frame.
class PaddedSource {
 public:
  PaddedSource(const Picture& picture, PixelRect from) : picture_(picture), from_(from) {}

  int width() const { return from_.width; }
  int height() const { return from_.height; }
  // Row y (frame rows included) of the picture itself: columns 0 .. width - 1 only.
  const uint32_t* RowAt(int y) const { return picture_.row(from_.y + Inside(y, from_.height)) + from_.x; }
  // Column x, frame columns included, as an index into RowAt's row.
  int ColumnAt(int x) const { return Inside(x, from_.width); }
  uint32_t at(int x, int y) const { return RowAt(y)[ColumnAt(x)]; }
  // Row y with its frame in `line` (resized to width + 4); the result points at column 0, so
  // columns -2 .. width + 1 are readable through it.
  const uint32_t* CopyRow(int y, std::vector<uint32_t>* line) const;

 private:
  static int Inside(int i, int size) { return i < 0 ? 0 : (i >= size ? size - 1 : i); }

  const Picture& picture_;
  PixelRect from_;
};

// Each writes dw x dh colour values, row by row, into out (sized by the caller).
void SmoothBresenham(const PaddedSource& source, int dw, int dh, uint32_t* out);
void Bilinear(const PaddedSource& source, int dw, int dh, uint32_t* out);
void Bicubic(const PaddedSource& source, int dw, int dh, uint32_t* out);

// Stand-ins for the platform's two stretch modes, straight from the picture.
void NearestPixel(const Picture& picture, PixelRect from, int dw, int dh, uint32_t* out);
void AreaAverage(const Picture& picture, PixelRect from, int dw, int dh, uint32_t* out);

}  // namespace qm::resample
