// Canvas: the true-colour drawing surface of the skin artwork, with a key mask.
//
//   Canvas c(540, 440, Rgb{255, 251, 206});
//   c.Blend(x, y, gold, coverage);       // paint with partial coverage (anti-aliasing)
//   c.SetKey(x, y);                      // this pixel is cut away (key colour) in the file
//
// Channels are doubles on the 0..255 scale, so shading can overshoot while drawing and is
// clamped only when a file is written. Pixel (x, y) covers the square [x, x+1) x [y, y+1);
// shape functions sample it at its centre (x + 0.5, y + 0.5). Out-of-range writes are ignored,
// so shapes may run off the edges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm::skinart {

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }
// Multiplies each channel by the other colour's channel on a 0..1 scale (tinting).
inline Rgb Tint(Rgb a, Rgb tint) { return {a.r * tint.r / 255, a.g * tint.g / 255, a.b * tint.b / 255}; }

double Clamp(double v, double lo, double hi);
// The channel as it is stored: rounded to the nearest integer and clamped to 0..255.
uint8_t ToByte(double v);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Rgb fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Rgb Get(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Rgb colour);
  // Mixes `colour` over the pixel by `alpha` (0..1, clamped).
  void Blend(int x, int y, Rgb colour, double alpha);

  bool IsKey(int x, int y) const { return key_[Index(x, y)] != 0; }
  void SetKey(int x, int y, bool key = true);

  // Copies `other` with its key mask to (left, top).
  void Paste(const Canvas& other, int left, int top);

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
  std::vector<uint8_t> key_;
};

// A scalar value per pixel: heights for lighting, coverage of glyphs, masks.
class Field {
 public:
  Field() = default;
  Field(int width, int height, double fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  // Outside the field reads return the nearest edge value, so gradients work at the border.
  double At(int x, int y) const;
  double& Ref(int x, int y) {
    return values_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<double> values_;
};

}  // namespace qm::skinart
