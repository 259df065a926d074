// Picture: a plain pixel buffer of colour values, the form every image operation of the
// portrait code works on (decoding, resampling, ring, mask, encoding).
//
// Colour value: a 24-bit colour in a 32-bit word, red in the low byte, green in the next,
// blue in the third, top byte 0; black is 0. It is the form the platform's pixel calls take,
// so the editor moves pixels between its bitmaps and these buffers without reordering.
//
//   Picture p(82, 82);                  // all black
//   p.at(3, 4) = MakeColour(255, 0, 255);
//   uint8_t r = RedOf(p.at(3, 4));      // 255
//
// Pixels are stored row by row from the top, without padding. Sizes are ints as the platform's
// are; a negative size counts as 0. Constructing a very large picture may throw std::bad_alloc:
// code that sizes pictures from hostile input bounds the size first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

constexpr uint32_t kColourBlack = 0x00000000;
constexpr uint32_t kColourWhite = 0x00FFFFFF;
// The colour that marks transparent pixels of a loaded picture, which the ring replaces.
constexpr uint32_t kTransparentColour = 0x00FF00FF;  // magenta: red 255, green 0, blue 255

constexpr uint32_t MakeColour(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr uint8_t RedOf(uint32_t colour) { return static_cast<uint8_t>(colour); }
constexpr uint8_t GreenOf(uint32_t colour) { return static_cast<uint8_t>(colour >> 8); }
constexpr uint8_t BlueOf(uint32_t colour) { return static_cast<uint8_t>(colour >> 16); }

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, uint32_t fill = kColourBlack)
      : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
        pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return pixels_.empty(); }

  // No bounds check: callers iterate within width() x height().
  uint32_t at(int x, int y) const { return pixels_[Index(x, y)]; }
  uint32_t& at(int x, int y) { return pixels_[Index(x, y)]; }
  const uint32_t* row(int y) const { return pixels_.data() + Index(0, y); }
  uint32_t* row(int y) { return pixels_.data() + Index(0, y); }

  const std::vector<uint32_t>& pixels() const { return pixels_; }
  std::vector<uint32_t>& pixels() { return pixels_; }

  bool operator==(const Picture&) const = default;

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// A rectangle of pixels: origin and size, as the stretch and the fitting rule use them.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

}  // namespace qm
