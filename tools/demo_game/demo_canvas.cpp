#include "tools/demo_game/demo_canvas.h"

#include <algorithm>
#include <cmath>

namespace qm::demo {

namespace {

uint32_t ToChannel(double v) {
  if (v <= 0) return 0;
  if (v >= 255) return 255;
  return static_cast<uint32_t>(v + 0.5);
}

bool InsidePolygon(const std::vector<Point>& pts, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const Point& a = pts[i];
    const Point& b = pts[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

}  // namespace

Rgb Rgb::Hex(unsigned rrggbb) {
  return {static_cast<double>((rrggbb >> 16) & 0xFF), static_cast<double>((rrggbb >> 8) & 0xFF),
          static_cast<double>(rrggbb & 0xFF)};
}

DemoCanvas::DemoCanvas(int size, double zoom, int samples_per_side)
    : size_(size > 0 ? size : 0), zoom_(zoom > 0 ? zoom : 1), per_pixel_(samples_per_side > 0 ? samples_per_side : 1),
      side_(size_ * per_pixel_), samples_(static_cast<size_t>(side_) * static_cast<size_t>(side_)) {}

DemoCanvas::Span DemoCanvas::Bounds(double left, double top, double right, double bottom) const {
  auto clamp = [&](double v) {
    const double s = ToSample(v);
    if (s <= 0) return 0;
    if (s >= side_) return side_;
    return static_cast<int>(s);
  };
  return {clamp(left), clamp(top), std::min(side_, clamp(right) + 1), std::min(side_, clamp(bottom) + 1)};
}

void DemoCanvas::Gradient(Rgb top, Rgb bottom) {
  for (int y = 0; y < side_; ++y) {
    const Rgb c = top.MixedWith(bottom, std::clamp(Coord(y), 0.0, 1.0));
    for (int x = 0; x < side_; ++x) At(x, y) = c;
  }
}

void DemoCanvas::Ellipse(Oval o, Rgb colour, Shade shade, double hole, double clip_top, double clip_bottom) {
  if (o.rx <= 0 || o.ry <= 0) return;
  const Span s = Bounds(o.cx - o.rx, std::max(o.cy - o.ry, clip_top), o.cx + o.rx, std::min(o.cy + o.ry, clip_bottom));
  const double hole2 = hole * hole;
  for (int y = s.y0; y < s.y1; ++y) {
    const double v = Coord(y);
    if (v < clip_top || v > clip_bottom) continue;
    const double ny = (v - o.cy) / o.ry;
    for (int x = s.x0; x < s.x1; ++x) {
      const double nx = (Coord(x) - o.cx) / o.rx;
      const double d2 = nx * nx + ny * ny;
      if (d2 > 1 || d2 < hole2) continue;
      if (shade == kLit) {
        const double nz = std::sqrt(1 - d2);
        const double light = std::max(0.0, -0.42 * nx - 0.5 * ny + 0.76 * nz);
        At(x, y) = colour.Scaled(0.48 + 0.64 * light);
      } else {
        At(x, y) = colour;
      }
    }
  }
}

void DemoCanvas::Polygon(std::initializer_list<Point> points, Rgb colour) {
  Polygon(std::vector<Point>(points), colour, colour);
}

void DemoCanvas::Polygon(std::initializer_list<Point> points, Rgb top, Rgb bottom) {
  Polygon(std::vector<Point>(points), top, bottom);
}

void DemoCanvas::Polygon(const std::vector<Point>& pts, Rgb top, Rgb bottom) {
  if (pts.size() < 3) return;
  double left = pts[0].x, right = pts[0].x, upper = pts[0].y, lower = pts[0].y;
  for (const Point& p : pts) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    upper = std::min(upper, p.y);
    lower = std::max(lower, p.y);
  }
  const Span s = Bounds(left, upper, right, lower);
  const double height = lower > upper ? lower - upper : 1;
  for (int y = s.y0; y < s.y1; ++y) {
    const double v = Coord(y);
    const Rgb c = top.MixedWith(bottom, std::clamp((v - upper) / height, 0.0, 1.0));
    for (int x = s.x0; x < s.x1; ++x) {
      if (InsidePolygon(pts, Coord(x), v)) At(x, y) = c;
    }
  }
}

void DemoCanvas::Segment(Point a, Point b, double radius, Rgb colour) {
  const Span s = Bounds(std::min(a.x, b.x) - radius, std::min(a.y, b.y) - radius, std::max(a.x, b.x) + radius,
                        std::max(a.y, b.y) + radius);
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  const double r2 = radius * radius;
  for (int y = s.y0; y < s.y1; ++y) {
    const double v = Coord(y);
    for (int x = s.x0; x < s.x1; ++x) {
      const double u = Coord(x);
      double t = len2 > 0 ? ((u - a.x) * dx + (v - a.y) * dy) / len2 : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = a.x + dx * t - u, ey = a.y + dy * t - v;
      if (ex * ex + ey * ey <= r2) At(x, y) = colour;
    }
  }
}

void DemoCanvas::Rect(double left, double top, double right, double bottom, Rgb colour) {
  const Span s = Bounds(left, top, right, bottom);
  for (int y = s.y0; y < s.y1; ++y) {
    const double v = Coord(y);
    if (v < top || v > bottom) continue;
    for (int x = s.x0; x < s.x1; ++x) {
      const double u = Coord(x);
      if (u >= left && u <= right) At(x, y) = colour;
    }
  }
}

Picture DemoCanvas::Resolve() const {
  Picture out(size_, size_);
  const double count = static_cast<double>(per_pixel_ * per_pixel_);
  for (int py = 0; py < size_; ++py) {
    for (int px = 0; px < size_; ++px) {
      Rgb sum;
      for (int sy = 0; sy < per_pixel_; ++sy) {
        const Rgb* row = &samples_[static_cast<size_t>(py * per_pixel_ + sy) * static_cast<size_t>(side_) +
                                   static_cast<size_t>(px * per_pixel_)];
        for (int sx = 0; sx < per_pixel_; ++sx) {
          sum.r += row[sx].r;
          sum.g += row[sx].g;
          sum.b += row[sx].b;
        }
      }
      out.at(px, py) = MakeColour(ToChannel(sum.r / count), ToChannel(sum.g / count), ToChannel(sum.b / count));
    }
  }
  return out;
}

}  // namespace qm::demo
