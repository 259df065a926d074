// The one bridge between pixel buffers and GDI: 32-bit DIB canvases, the red/blue swap between
// colour values and DIB pixels, and bitmap sizes.
//
//   qm::DibCanvas canvas(like_dc, 82, 82);        // 32-bit top-down, selected into its own DC
//   StretchBlt(canvas.dc(), ...);
//   qm::SwapRedBlue(canvas.pixels(), picture.pixels());   // DIB pixels -> colour values
//   int w, h;
//   qm::BitmapSize(bitmap, &w, &h);
//
// Colour values keep red in the low byte (0x00BBGGRR); 32-bit DIB pixels are the bytes B, G, R, X
// (0x00RRGGBB as a word). The swap is its own inverse and always clears the top byte.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "base/handles_win32.h"

namespace qm {

constexpr uint32_t SwapRedBlue(uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// Swaps every pixel of `in` into `out`; false (nothing written) when the sizes differ.
bool SwapRedBlue(std::span<const uint32_t> in, std::span<uint32_t> out);

// Bytes per row of an uncompressed DIB: rows are padded to whole 32-bit words.
size_t DibStride(int width, int bits_per_pixel);

// The header of an uncompressed DIB; a negative height means rows from the top.
BITMAPINFO DibInfo(int width, int height, int bits_per_pixel);

// Width and height of a bitmap; false for a null or invalid handle.
bool BitmapSize(HBITMAP bitmap, int* width, int* height);

// A 32-bit top-down DIB section selected into its own memory DC, compatible with `like` (the
// screen's when null). ok() is false when any part could not be made.
class DibCanvas {
 public:
  DibCanvas(HDC like, int width, int height);
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // The pixel memory, rows from the top; flush GDI (GdiFlush) before reading what was drawn.
  std::span<uint32_t> pixels() const;

 private:
  MemoryDc dc_;
  GdiBitmap bitmap_;
  std::optional<SelectInDc> select_;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qm
