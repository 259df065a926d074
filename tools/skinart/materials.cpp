#include "tools/skinart/materials.h"

#include <cmath>

#include "tools/skinart/noise.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {

Rgb Parchment(int x, int y, uint32_t seed) {
  const double broad = Fractal(x / 110.0, y / 110.0, 4, seed);
  const double mottle = Fractal(x / 11.0, y / 11.0, 3, seed + 11);
  const double fibre = ValueNoise(x / 1.6, y / 9.0, seed + 23);
  const double stain = Clamp((broad - 0.42) * 2.0, 0, 1);
  // Rare soft brown spots, as old paper gathers.
  const double spot = SmoothStep(0.8, 0.95, Fractal(x / 7.0, y / 7.0, 2, seed + 31)) * SmoothStep(0.5, 0.7, broad);
  // Darkening mostly of blue and green turns the paper towards old yellow and brown.
  const double age = 0.6 * stain + 0.35 * mottle + 0.12 * fibre + 0.5 * spot;
  return kPanelTone - Rgb{8, 19, 50} * age;
}

Rgb Wood(double along, double across, uint32_t seed) {
  const double warp = Fractal(along / 90.0, across / 7.0, 3, seed);
  const double drift = Fractal(along / 260.0, across / 30.0, 2, seed + 5);
  const double rings = across / 2.6 + warp * 6.0 + drift * 4.0;
  const double t = rings - std::floor(rings);
  const double late = SmoothStep(0.0, 0.25, t) * SmoothStep(1.0, 0.55, t);
  const double fibre = ValueNoise(along / 2.0, across * 1.3, seed + 9);
  const Rgb early{88, 56, 32};
  const Rgb dark{44, 26, 15};
  Rgb c = Mix(early, dark, 0.25 + 0.6 * late);
  c = c * (0.9 + 0.2 * fibre);
  return c;
}

Rgb Leather(int x, int y, uint32_t seed) {
  const double pebble = Fractal(x / 2.2, y / 2.2, 2, seed);
  const double broad = Fractal(x / 45.0, y / 45.0, 3, seed + 3);
  const Rgb base{104, 24, 26};
  return base * (0.82 + 0.22 * pebble + 0.18 * (broad - 0.5));
}

void CarveFrame(Relief& relief, const Shape& outer, const Shape& opening,
                const std::function<bool(int, int)>& vertical, const FrameStyle& style) {
  for (int y = 0; y < relief.height(); ++y) {
    for (int x = 0; x < relief.width(); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d_outer = outer(px, py);
      if (d_outer >= 0) {
        relief.SetKey(x, y);
        relief.Paint(x, y, kOutline, 1);
        continue;
      }
      const double u = opening(px, py);
      const double share = Clamp(0.5 + u, 0, 1);
      if (share <= 0) continue;
      const double s = -d_outer;

      // Height across the moulding: quarter-round lip at the outside, level board, a cove
      // down to a groove, and the bead rising out of it at the opening.
      double from_outside = style.board;
      if (s < style.lip) {
        const double k = 1 - s / style.lip;
        from_outside = style.board * std::sqrt(1 - k * k);
      }
      double from_opening = style.board;
      const double bead_top = style.board * 0.6;
      if (u < style.bead) {
        const double k = (u - style.bead / 2) / (style.bead / 2);
        from_opening = bead_top * 0.55 + bead_top * 0.45 * std::sqrt(std::fmax(0, 1 - k * k)) * 1.6;
      } else if (u < style.bead + 1.2) {
        from_opening = bead_top * 0.5;
      } else {
        from_opening = bead_top * 0.5 + (style.board - bead_top * 0.5) * SmoothStep(style.bead + 1.2, style.bead + 4.5, u);
      }
      const double h = std::fmin(from_outside, from_opening);

      const bool runs_vertical = vertical(x, y);
      Rgb wood = runs_vertical ? Wood(py, px, style.seed + 100) : Wood(px, py, style.seed);
      // The outermost pixel is a dark edge so the cut outline reads crisply on any desktop.
      wood = Mix(wood, kOutline, SmoothStep(1.6, 0.2, s) * 0.75);
      relief.Paint(x, y, wood, share);
      relief.Gild(x, y, Coverage(u - style.bead), share);
      relief.SetHeight(x, y, h, share);
    }
  }
}

void GildOutline(Relief& relief, int x, int y, double distance, double width, double base_height) {
  const double share = Coverage(-distance) * Coverage(distance - width);
  if (share <= 0) return;
  const double k = (distance - width / 2) / (width / 2);
  const double h = base_height + width * 0.45 * std::sqrt(std::fmax(0, 1 - k * k));
  relief.Gild(x, y, 1, share);
  relief.SetHeight(x, y, h, share);
}

void ButtonBed(Relief& relief, int left, int top, int width, int height, uint32_t seed) {
  for (int y = top - 1; y <= top + height + 1; ++y) {
    for (int x = left - 1; x <= left + width + 1; ++x) {
      const bool inside = x >= left && x < left + width && y >= top && y < top + height;
      if (!inside) {
        const bool below_right = (x >= left + 1 && y >= top + height) || (y >= top + 1 && x >= left + width);
        if (below_right) relief.Paint(x, y, relief.ColourAt(x, y) * 0.8, 0.6);
        continue;
      }
      const double t = (y - top + 0.5) / height;
      const Rgb top_colour{228, 198, 136};
      const Rgb bottom_colour{194, 154, 94};
      Rgb c = Mix(top_colour, bottom_colour, t * t);
      c = c * (0.97 + 0.06 * Fractal(x / 6.0, y / 3.0, 2, seed));
      relief.Paint(x, y, c, 1);
    }
  }
}

void GoldStud(Relief& relief, double cx, double cy, double radius, double base_height) {
  const int x0 = static_cast<int>(std::floor(cx - radius - 3));
  const int y0 = static_cast<int>(std::floor(cy - radius - 3));
  for (int y = y0; y <= y0 + static_cast<int>(2 * radius) + 6; ++y) {
    for (int x = x0; x <= x0 + static_cast<int>(2 * radius) + 6; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = CircleDistance(px, py, cx, cy, radius);
      const double shadow = CastShadow(CircleDistance(px - 1.5, py - 1.5, cx, cy, radius), 1.0);
      if (d > 0) relief.Paint(x, y, relief.ColourAt(x, y) * 0.55, shadow * Coverage(-d));
      const double share = Coverage(d);
      if (share <= 0) continue;
      const double r2 = ((px - cx) * (px - cx) + (py - cy) * (py - cy)) / (radius * radius);
      relief.Gild(x, y, 1, share);
      relief.SetHeight(x, y, base_height + radius * 0.9 * std::sqrt(std::fmax(0, 1 - r2)), share);
    }
  }
}

double CastShadow(double shifted, double softness) {
  return SmoothStep(softness, -softness, shifted);
}

}  // namespace qm::skinart
