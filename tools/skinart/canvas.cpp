#include "tools/skinart/canvas.h"

#include <algorithm>

namespace qm::skinart {

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

uint8_t ToByte(double v) {
  const double c = Clamp(v, 0, 255);
  return static_cast<uint8_t>(static_cast<int>(c + 0.5));
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill),
      key_(pixels_.size(), 0) {}

void Canvas::Set(int x, int y, Rgb colour) {
  if (Contains(x, y)) pixels_[Index(x, y)] = colour;
}

void Canvas::Blend(int x, int y, Rgb colour, double alpha) {
  if (!Contains(x, y) || alpha <= 0) return;
  Rgb& p = pixels_[Index(x, y)];
  p = Mix(p, colour, Clamp(alpha, 0, 1));
}

void Canvas::SetKey(int x, int y, bool key) {
  if (Contains(x, y)) key_[Index(x, y)] = key ? 1 : 0;
}

void Canvas::Paste(const Canvas& other, int left, int top) {
  for (int y = 0; y < other.height(); ++y) {
    for (int x = 0; x < other.width(); ++x) {
      Set(left + x, top + y, other.Get(x, y));
      SetKey(left + x, top + y, other.IsKey(x, y));
    }
  }
}

Field::Field(int width, int height, double fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      values_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

double Field::At(int x, int y) const {
  if (values_.empty()) return 0;
  x = std::clamp(x, 0, width_ - 1);
  y = std::clamp(y, 0, height_ - 1);
  return values_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

}  // namespace qm::skinart
