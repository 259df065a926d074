// The programs' icons: a quill laid across a wax seal in a gold rim, drawn at 16, 32 and 48
// pixels from one description with 4 x 4 samples per pixel. The seal's colour tells the three
// programs apart: red for the editor, green for the patcher, blue for the restore tool.
#include <algorithm>
#include <cmath>

#include "tools/skinart/artwork.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

struct Rgba {
  double r, g, b, a;
};

Rgba Over(Rgba under, Rgb colour, double alpha) {
  alpha = Clamp(alpha, 0, 1);
  return {under.r + (colour.r - under.r) * alpha, under.g + (colour.g - under.g) * alpha,
          under.b + (colour.b - under.b) * alpha, under.a + (1 - under.a) * alpha};
}

// One sample of the icon at (u, v) in 0..1, the pixel size in those units given for edges.
Rgba Sample(double u, double v, double pixel, const Rgb wax_dark, const Rgb wax_light) {
  Rgba out{0, 0, 0, 0};
  const double d = CircleDistance(u, v, 0.5, 0.5, 0.47);
  if (d < 0) {
    // Seal: deep red, lit from the upper left; gold rim.
    const double light = Clamp(0.5 - ((u - 0.5) + (v - 0.5)) * 0.7, 0, 1);
    const Rgb wax = Mix(wax_dark, wax_light, light);
    const double rim = SmoothStep(-0.075, -0.065, d);
    const Rgb gold = Mix(Rgb{150, 100, 30}, Rgb{250, 214, 110}, Clamp(light + 0.2, 0, 1));
    out = Over(out, Mix(wax, gold, rim), 1);
    // Darker outline at the very edge for small sizes.
    out = Over(out, Rgb{60, 30, 8}, SmoothStep(-pixel * 1.2, 0, d));
  }
  // The quill: nib at the lower left, tip at the upper right, its vane curving.
  const double nx = 0.14, ny = 0.88, tx = 0.9, ty = 0.08;
  const double ax = tx - nx, ay = ty - ny;
  const double length = std::sqrt(ax * ax + ay * ay);
  const double ux = ax / length, uy = ay / length;
  const double t = ((u - nx) * ux + (v - ny) * uy) / length;  // 0 at the nib, 1 at the tip
  double s = -(u - nx) * uy + (v - ny) * ux;                   // across; negative is upper left
  s -= 0.07 * (1 - 4 * (t - 0.5) * (t - 0.5));                 // bow the quill
  const double outline = std::max(pixel * 0.9, 0.018);
  if (t > 0.3 && t < 1) {
    const double q = (t - 0.3) / 0.7;
    const double width = 0.3 * std::sqrt(q) * std::pow(1 - q, 0.5);
    const double side = s < 0 ? width : width * 0.62;
    // Two splits in the wide side of the vane, slanting towards the tip.
    const double split1 = std::fabs((t - 0.52) - (-s) * 0.55);
    const double split2 = std::fabs((t - 0.74) - (-s) * 0.55);
    const bool split = s < -side * 0.55 && (split1 < pixel * 0.6 || split2 < pixel * 0.6);
    if (std::fabs(s) < side && !split) {
      const bool edge = std::fabs(s) > side - outline;
      const Rgb white = Mix(Rgb{255, 253, 244}, Rgb{214, 204, 186}, Clamp(std::fabs(s) / side, 0, 1) * 0.7);
      out = Over(out, edge ? Rgb{64, 44, 34} : white, 1);
    }
  }
  if (t > 0.02 && t < 1.0 && std::fabs(s) < std::max(pixel * 0.55, 0.016 * (1 - t) + 0.006)) {
    out = Over(out, Rgb{214, 166, 72}, 1);  // the shaft
  }
  // The nib: a dark point below the shaft.
  if (t <= 0.05 && t > -0.03 && std::fabs(s) < 0.035 * (t + 0.03) / 0.08 + pixel * 0.35) {
    out = Over(out, Rgb{34, 26, 22}, 1);
  }
  return out;
}

IconImage Render(int size, Rgb wax_dark, Rgb wax_light) {
  constexpr int kSub = 4;
  IconImage image;
  image.size = size;
  image.rgba.resize(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
  const double pixel = 1.0 / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const Rgba s = Sample((x + (sx + 0.5) / kSub) * pixel, (y + (sy + 0.5) / kSub) * pixel, pixel, wax_dark, wax_light);
          r += s.r * s.a;
          g += s.g * s.a;
          b += s.b * s.a;
          a += s.a;
        }
      }
      uint8_t* p = &image.rgba[(static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)) * 4];
      p[0] = a > 0 ? ToByte(r / a) : 0;
      p[1] = a > 0 ? ToByte(g / a) : 0;
      p[2] = a > 0 ? ToByte(b / a) : 0;
      p[3] = ToByte(a / (kSub * kSub) * 255);
    }
  }
  return image;
}

}  // namespace

std::vector<IconImage> DrawIcon(Program program) {
  Rgb dark{96, 8, 12}, light{196, 36, 30};
  if (program == Program::kPatcher) {
    dark = {10, 60, 30};
    light = {40, 150, 80};
  } else if (program == Program::kRestore) {
    dark = {12, 30, 90};
    light = {50, 100, 200};
  }
  return {Render(16, dark, light), Render(32, dark, light), Render(48, dark, light)};
}

}  // namespace qm::skinart
