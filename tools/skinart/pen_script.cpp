#include "tools/skinart/pen_script.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::skinart {
namespace {

constexpr int kSamples = 8;  // per pixel and axis

struct Glyph {
  char letter;
  double advance;
  // Strokes as paths: "M x y" starts a stroke, "C x1 y1 x2 y2 x y" a cubic curve, "L x y" a line.
  const char* path;
};

constexpr const char* kStemEntry = "M 0.02 0.86 C 0.06 0.92 0.09 1.0 0.1 1.0 ";

const Glyph kGlyphs[] = {
    {' ', 0.42, ""},
    {'Q', 1.3,
     "M 0.78 1.45 C 0.4 1.47 0.06 1.1 0.06 0.66 C 0.06 0.24 0.3 -0.02 0.6 -0.02 "
     "M 0.7 1.45 C 1.02 1.45 1.22 1.15 1.22 0.8 C 1.22 0.3 0.92 -0.02 0.6 -0.02 "
     "M 0.42 0.06 C 0.62 -0.04 0.8 -0.18 1.06 -0.2 C 1.3 -0.22 1.5 -0.16 1.7 -0.06"},
    {'u', 0.78,
     "M 0.02 0.86 C 0.06 0.92 0.09 1.0 0.1 1.0 L 0.1 0.25 C 0.1 0.05 0.2 -0.01 0.3 0.02 "
     "C 0.42 0.06 0.52 0.45 0.56 1.0 "
     "M 0.56 1.0 L 0.56 0.2 C 0.56 0.05 0.6 -0.01 0.68 0.0 C 0.74 0.01 0.78 0.05 0.81 0.1"},
    {'i', 0.38,
     "M 0.02 0.86 C 0.06 0.92 0.09 1.0 0.1 1.0 L 0.1 0.2 C 0.1 0.05 0.14 -0.01 0.22 0.0 "
     "C 0.28 0.01 0.32 0.05 0.35 0.1 "
     "M 0.13 1.4 L 0.18 1.33"},
    {'l', 0.4,
     "M 0.04 1.5 C 0.08 1.56 0.11 1.62 0.13 1.62 L 0.13 0.2 C 0.13 0.05 0.17 -0.01 0.25 0.0 "
     "C 0.31 0.01 0.35 0.05 0.38 0.1"},
    {'m', 1.02,
     "M 0.02 0.86 C 0.06 0.92 0.09 1.0 0.1 1.0 L 0.1 0.0 "
     "M 0.1 0.55 C 0.16 0.85 0.24 1.0 0.33 1.0 C 0.41 1.0 0.44 0.92 0.44 0.8 L 0.44 0.0 "
     "M 0.44 0.55 C 0.5 0.85 0.58 1.0 0.67 1.0 C 0.75 1.0 0.78 0.92 0.78 0.8 L 0.78 0.2 "
     "C 0.78 0.05 0.82 -0.01 0.9 0.0 C 0.96 0.01 1.0 0.05 1.03 0.1"},
    {'a', 0.76,
     "M 0.52 0.88 C 0.46 0.98 0.38 1.0 0.3 1.0 C 0.16 1.0 0.06 0.7 0.06 0.4 "
     "C 0.06 0.15 0.14 0.0 0.24 0.0 C 0.36 0.0 0.46 0.3 0.52 0.62 "
     "M 0.52 1.0 L 0.52 0.2 C 0.52 0.05 0.56 -0.01 0.64 0.0 C 0.7 0.01 0.74 0.05 0.77 0.1"},
    {'r', 0.54,
     "M 0.02 0.86 C 0.06 0.92 0.09 1.0 0.1 1.0 L 0.1 0.0 "
     "M 0.1 0.55 C 0.16 0.85 0.24 1.0 0.34 1.0 C 0.4 1.0 0.44 0.97 0.47 0.92"},
    {'k', 0.72,
     "M 0.04 1.5 C 0.08 1.56 0.11 1.62 0.13 1.62 L 0.13 0.0 "
     "M 0.13 0.4 C 0.22 0.75 0.34 1.0 0.44 0.98 C 0.52 0.96 0.52 0.8 0.44 0.7 "
     "C 0.36 0.6 0.24 0.55 0.16 0.52 "
     "M 0.28 0.56 C 0.38 0.45 0.4 0.2 0.44 0.08 C 0.47 0.0 0.52 -0.01 0.58 0.02 "
     "C 0.62 0.04 0.65 0.08 0.67 0.12"},
    {'S', 1.05,
     "M 0.9 1.3 C 0.82 1.42 0.7 1.47 0.56 1.47 C 0.34 1.47 0.2 1.34 0.2 1.1 "
     "C 0.2 0.88 0.4 0.8 0.6 0.7 C 0.82 0.6 0.95 0.5 0.95 0.3 "
     "C 0.95 0.1 0.78 -0.02 0.52 -0.02 C 0.34 -0.02 0.18 0.06 0.1 0.2"},
    {'F', 0.95,
     "M 0.24 1.42 L 0.24 0.0 "
     "M 0.1 1.36 C 0.3 1.46 0.6 1.47 0.92 1.44 "
     "M 0.24 0.76 L 0.7 0.76"},
    {'X', 1.05,
     "M 0.1 1.45 C 0.3 1.0 0.6 0.4 0.95 0.0 "
     "M 0.95 1.45 L 0.1 0.0"},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.letter == c) return &g;
  }
  return &kGlyphs[0];
}

struct Point {
  double x;
  double y;
};

using Stroke = std::vector<Point>;  // p0, then (c1, c2, p) per curve

std::vector<Stroke> ParsePath(const char* path) {
  std::vector<Stroke> strokes;
  const char* s = path;
  auto number = [&s]() {
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) throw std::logic_error("bad glyph path");
    s = end;
    return v;
  };
  auto point = [&number]() {
    const double x = number();
    const double y = number();
    return Point{x, y};
  };
  while (*s != '\0') {
    const char c = *s++;
    if (c == ' ') continue;
    if (c == 'M') {
      strokes.push_back({point()});
    } else if (c == 'C' && !strokes.empty()) {
      for (int i = 0; i < 3; ++i) strokes.back().push_back(point());
    } else if (c == 'L' && !strokes.empty()) {
      const Point a = strokes.back().back();
      const Point b = point();
      strokes.back().push_back({a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3});
      strokes.back().push_back({a.x + 2 * (b.x - a.x) / 3, a.y + 2 * (b.y - a.y) / 3});
      strokes.back().push_back(b);
    } else {
      throw std::logic_error("bad glyph path");
    }
  }
  return strokes;
}

Point Bezier(const Point* p, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x, a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

// Supersampled ink mask of the field's area.
class InkMask {
 public:
  InkMask(int width, int height)
      : width_(width * kSamples), height_(height * kSamples),
        bits_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0) {}

  // Fills the convex hull of the points (given in sample units).
  void FillHull(std::vector<Point> pts) {
    std::sort(pts.begin(), pts.end(), [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    std::vector<Point> hull;
    auto cross = [](Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); };
    for (int pass = 0; pass < 2; ++pass) {
      const size_t start = hull.size();
      for (size_t k = 0; k < pts.size(); ++k) {
        const Point p = pass == 0 ? pts[k] : pts[pts.size() - 1 - k];
        while (hull.size() >= start + 2 && cross(hull[hull.size() - 2], hull.back(), p) <= 0) hull.pop_back();
        hull.push_back(p);
      }
      hull.pop_back();
    }
    if (hull.size() < 3) return;
    double ymin = hull[0].y, ymax = hull[0].y;
    for (const Point& p : hull) {
      ymin = std::min(ymin, p.y);
      ymax = std::max(ymax, p.y);
    }
    const int row0 = std::max(0, static_cast<int>(std::ceil(ymin - 0.5)));
    const int row1 = std::min(height_ - 1, static_cast<int>(std::floor(ymax - 0.5)));
    for (int row = row0; row <= row1; ++row) {
      const double sy = row + 0.5;
      double xmin = 1e30, xmax = -1e30;
      for (size_t i = 0, j = hull.size() - 1; i < hull.size(); j = i++) {
        const Point a = hull[j], b = hull[i];
        if ((a.y <= sy && b.y >= sy) || (b.y <= sy && a.y >= sy)) {
          const double x = a.y == b.y ? a.x : a.x + (b.x - a.x) * (sy - a.y) / (b.y - a.y);
          xmin = std::min(xmin, std::min(x, a.y == b.y ? b.x : x));
          xmax = std::max(xmax, std::max(x, a.y == b.y ? b.x : x));
        }
      }
      const int col0 = std::max(0, static_cast<int>(std::ceil(xmin - 0.5)));
      const int col1 = std::min(width_ - 1, static_cast<int>(std::floor(xmax - 0.5)));
      uint8_t* line = &bits_[static_cast<size_t>(row) * static_cast<size_t>(width_)];
      for (int col = col0; col <= col1; ++col) line[col] = 1;
    }
  }

  Field Resolve() const {
    Field field(width_ / kSamples, height_ / kSamples);
    for (int y = 0; y < field.height(); ++y) {
      for (int x = 0; x < field.width(); ++x) {
        int count = 0;
        for (int sy = 0; sy < kSamples; ++sy) {
          const uint8_t* line = &bits_[static_cast<size_t>(y * kSamples + sy) * static_cast<size_t>(width_)];
          for (int sx = 0; sx < kSamples; ++sx) count += line[x * kSamples + sx];
        }
        field.Ref(x, y) = static_cast<double>(count) / (kSamples * kSamples);
      }
    }
    return field;
  }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> bits_;
};

}  // namespace

double TextWidth(std::string_view text, const PenStyle& pen) {
  double units = 0;
  for (char c : text) units += FindGlyph(c)->advance + pen.tracking;
  if (!text.empty()) units -= pen.tracking;
  return units * pen.x_height;
}

Field WriteText(std::string_view text, const PenStyle& pen, double x, double baseline, FieldArea area) {
  InkMask mask(area.width, area.height);
  const double scale = pen.x_height * kSamples;
  // Half the nib edge and half its thickness, in sample units; y grows downwards on screen.
  const Point edge{pen.nib_width / 2 * pen.nib_cos * scale, -pen.nib_width / 2 * pen.nib_sin * scale};
  const Point side{pen.hairline / 2 * pen.nib_sin * scale, pen.hairline / 2 * pen.nib_cos * scale};
  double origin = 0;
  for (char c : text) {
    const Glyph* glyph = FindGlyph(c);
    for (const Stroke& stroke : ParsePath(glyph->path)) {
      auto to_samples = [&](Point p) {
        return Point{(x - area.left) * kSamples + (origin + p.x + pen.slant * p.y) * scale,
                     (baseline - area.top) * kSamples - p.y * scale};
      };
      std::vector<Point> trail;
      for (size_t k = 0; k + 3 < stroke.size(); k += 3) {
        Point ctrl[4];
        double length = 0;
        for (int i = 0; i < 4; ++i) ctrl[i] = to_samples(stroke[k + static_cast<size_t>(i)]);
        for (int i = 0; i < 3; ++i) length += std::hypot(ctrl[i + 1].x - ctrl[i].x, ctrl[i + 1].y - ctrl[i].y);
        const int steps = std::max(2, static_cast<int>(length / 1.5));
        for (int i = (k == 0 ? 0 : 1); i <= steps; ++i) trail.push_back(Bezier(ctrl, static_cast<double>(i) / steps));
      }
      for (size_t i = 0; i < trail.size(); ++i) {
        const Point a = trail[i];
        const Point b = i + 1 < trail.size() ? trail[i + 1] : a;
        std::vector<Point> corners;
        for (const Point& p : {a, b}) {
          for (int se = -1; se <= 1; se += 2) {
            for (int ss = -1; ss <= 1; ss += 2) {
              corners.push_back({p.x + se * edge.x + ss * side.x, p.y + se * edge.y + ss * side.y});
            }
          }
        }
        mask.FillHull(std::move(corners));
      }
    }
    origin += glyph->advance + pen.tracking;
  }
  return mask.Resolve();
}

}  // namespace qm::skinart
