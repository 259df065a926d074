// A tiny supersampling painter for the demo game's faces.
//
//   DemoCanvas canvas(82);                        // 82 x 82 face, 4 x 4 samples per pixel
//   canvas.Gradient(Rgb::Hex(0x9ED28C), Rgb::Hex(0x2F6A2A));
//   canvas.Ellipse({0.5, 0.43, 0.165, 0.205}, skin, DemoCanvas::kLit);
//   canvas.Polygon({{0.3, 0.3}, {0.7, 0.3}, {0.5, 0.05}}, hat);
//   canvas.Segment({0.4, 0.8}, {0.6, 0.9}, 0.01, wood);
//   qm::Picture face = canvas.Resolve();
//
// Coordinates are fractions of the face's side (0..1, y downwards), so one scene paints every
// face size. Shapes paint over what is there, in call order. Only + - * / and sqrt are used,
// so every build paints the same pixels.
#pragma once

#include <initializer_list>
#include <vector>

#include "portrait/picture.h"

namespace qm::demo {

struct Rgb {
  double r = 0, g = 0, b = 0;
  static Rgb Hex(unsigned rrggbb);
  Rgb Scaled(double k) const { return {r * k, g * k, b * k}; }
  Rgb MixedWith(Rgb other, double t) const {
    return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t};
  }
};

struct Point {
  double x = 0, y = 0;
};

struct Oval {
  double cx = 0, cy = 0, rx = 0, ry = 0;
};

class DemoCanvas {
 public:
  enum Shade { kFlat, kLit };  // kLit: lit like a ball from the upper left

  // `zoom` magnifies the scene about the face's centre (1: the scene's 0..1 fills the face).
  explicit DemoCanvas(int size, double zoom = 1, int samples_per_side = 4);

  // Top to bottom colour ramp over the whole face.
  void Gradient(Rgb top, Rgb bottom);
  // An ellipse; `hole` (0..1) leaves out the inner part, making a ring; samples outside
  // [clip_top, clip_bottom] are left alone.
  void Ellipse(Oval oval, Rgb colour, Shade shade = kFlat, double hole = 0, double clip_top = -1,
               double clip_bottom = 2);
  // A polygon (even-odd rule); with `bottom` given, a vertical ramp over its height.
  void Polygon(std::initializer_list<Point> points, Rgb colour);
  void Polygon(std::initializer_list<Point> points, Rgb top, Rgb bottom);
  void Polygon(const std::vector<Point>& points, Rgb top, Rgb bottom);
  // A stroke with round ends: every sample within `radius` of the segment.
  void Segment(Point a, Point b, double radius, Rgb colour);
  // Axis-aligned rectangle.
  void Rect(double left, double top, double right, double bottom, Rgb colour);

  // Averages the samples into a picture of the face size.
  Picture Resolve() const;

 private:
  struct Span {
    int x0, y0, x1, y1;  // sample rectangle, half-open
  };
  Span Bounds(double left, double top, double right, double bottom) const;
  // Scene coordinate of a sample row or column, and the sample at a scene coordinate.
  double Coord(int sample) const { return 0.5 + ((sample + 0.5) / static_cast<double>(side_) - 0.5) / zoom_; }
  double ToSample(double v) const { return (0.5 + (v - 0.5) * zoom_) * side_; }
  Rgb& At(int x, int y) { return samples_[static_cast<size_t>(y) * static_cast<size_t>(side_) + static_cast<size_t>(x)]; }

  int size_;
  double zoom_;
  int per_pixel_;
  int side_;  // samples per row
  std::vector<Rgb> samples_;
};

}  // namespace qm::demo
