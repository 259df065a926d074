// The panel backdrop (about and option panels) and the empty face views.
#include <algorithm>
#include <cmath>

#include "portrait/face_art.h"
#include "tools/skinart/artwork.h"
#include "tools/skinart/layout.h"
#include "tools/skinart/materials.h"
#include "tools/skinart/panel_frame.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

constexpr uint32_t kSeed = 0x216u;

// A quill feather as a faint watermark: vane around a gently curved shaft from the nib at
// (nx, ny) to the tip at (tx, ty). Returns ink coverage.
double FeatherInk(double px, double py, double nx, double ny, double tx, double ty) {
  const double ax = tx - nx, ay = ty - ny;
  const double length = std::sqrt(ax * ax + ay * ay);
  const double ux = ax / length, uy = ay / length;
  const double t = ((px - nx) * ux + (py - ny) * uy) / length;  // 0 at the nib, 1 at the tip
  double s = (-(px - nx) * uy + (py - ny) * ux);                // across, pixels
  s -= 0.06 * length * (t - 0.55) * (t - 0.55) * 4 - 0.06 * length;  // curve the whole quill
  if (t < -0.01 || t > 1.01) return 0;
  const double shaft = Coverage(std::fabs(s) - (0.5 + 0.9 * (1 - t)));
  const double u = (t - 0.22) / 0.78;
  double vane = 0;
  if (u > 0 && u < 1) {
    const double width = 0.16 * length * std::sqrt(u) * std::pow(1 - u, 0.6);
    // The vane is wider on one side, and its barbs show as faint diagonal stripes.
    const double side = s > 0 ? width : width * 0.7;
    const double barbs = 0.75 + 0.25 * ((static_cast<int>(std::floor((t * length + std::fabs(s) * 0.8) / 2.2)) % 2));
    vane = Coverage(std::fabs(s) - side) * barbs;
  }
  return std::max(shaft, vane * 0.8);
}

}  // namespace

Canvas DrawPanelBackdrop() {
  Relief relief(kPanelWidth, kPanelHeight, kPanelTone);
  for (int y = 0; y < kPanelHeight; ++y) {
    for (int x = 0; x < kPanelWidth; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double inside = -PanelOpeningDistance(px, py);
      Rgb c = Parchment(x, y, kSeed);
      c = Mix(c, Rgb{196, 164, 104}, 0.5 * std::pow(SmoothStep(8, 0, inside), 2));
      const double shadow = CastShadow(-PanelOpeningDistance(px - 2.5, py - 2.5), 1.0);
      c = c * (1 - 0.28 * shadow * SmoothStep(6, 0, inside));
      // Watermark quill in the free lower right corner.
      c = Mix(c, Rgb{150, 112, 60}, 0.16 * FeatherInk(px, py, 330, 196, 462, 132));
      relief.Paint(x, y, c, 1);
    }
  }
  // The two panels' Close buttons share one place.
  const Rect close = ControlRect(skin::kIdOptionClose);
  ButtonBed(relief, close.left, close.top, close.width, close.height, kSeed);
  CarvePanelFrame(relief, kSeed);
  return relief.Render();
}

Canvas DrawEmptyFace(int size) {
  // Outside the portrait mask's disc everything is black, as on every masked face.
  const Picture mask = MakeFaceMask(size);
  Canvas face(size, size);
  const double c = size / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = CircleDistance(px, py, c, c, c);
      const double r = (d + c) / c;  // 0 at the centre, 1 at the edge
      // A dark well: the floor darkest in the middle, a lit lower-right wall, a bronze ring.
      Rgb well = Mix(Rgb{12, 9, 7}, Rgb{40, 28, 19}, r * r);
      const double wall = Clamp(((px - c) + (py - c)) / (1.4 * c), 0, 1) * SmoothStep(0.7, 1.0, r);
      well = Mix(well, Rgb{92, 64, 38}, 0.6 * wall);
      const double ring = Coverage(std::fabs(d + c * 0.1) - c * 0.02);
      well = Mix(well, Rgb{120, 86, 44}, 0.5 * ring);
      face.Set(x, y, mask.at(x, y) == kColourWhite ? well : Rgb{0, 0, 0});
    }
  }
  return face;
}

}  // namespace qm::skinart
