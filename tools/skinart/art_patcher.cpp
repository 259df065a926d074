// The patcher's background: oxblood leather in a carved walnut frame, the title "Quillmark SFX"
// tooled in gold at the top, and gilded dividers between the rows of controls.
#include <algorithm>
#include <cmath>

#include "tools/skinart/artwork.h"
#include "tools/skinart/layout.h"
#include "tools/skinart/materials.h"
#include "tools/skinart/panel_frame.h"
#include "tools/skinart/pen_script.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

constexpr uint32_t kSeed = 0x5F7u;

// A gilded divider: a line tapering from the middle towards both ends, with a lozenge.
double DividerInk(double px, double py, double y, double x0, double x1) {
  const double cx = (x0 + x1) / 2;
  const double reach = std::fabs(px - cx) / ((x1 - x0) / 2);
  const double half = 0.2 + 0.7 * (1 - Clamp(reach, 0, 1));
  const double line = Coverage(std::fabs(py - y) - half) * SmoothStep(1.0, 0.85, reach);
  const double lozenge[] = {cx - 6, y, cx, y - 3.5, cx + 6, y, cx, y + 3.5};
  return std::max(line, Coverage(PolygonDistance(px, py, lozenge, 4)));
}

}  // namespace

Canvas DrawPatcherBackground() {
  Relief relief(kPanelWidth, kPanelHeight);
  PenStyle pen;
  pen.x_height = 20;
  const char* title = "Quillmark SFX";
  const double width = TextWidth(title, pen);
  const double baseline = 42;
  const Field ink = WriteText(title, pen, kPanelWidth / 2.0 - width / 2 - 4, baseline,
                              {0, 0, kPanelWidth, kPanelHeight});

  for (int y = 0; y < kPanelHeight; ++y) {
    for (int x = 0; x < kPanelWidth; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double inside = -PanelOpeningDistance(px, py);
      Rgb c = Leather(x, y, kSeed);
      // Darker towards the frame, and the frame's shadow at the upper left.
      c = c * (1 - 0.35 * std::pow(SmoothStep(40, 0, inside), 2));
      const double shadow = CastShadow(-PanelOpeningDistance(px - 2.5, py - 2.5), 1.0);
      c = c * (1 - 0.4 * shadow * SmoothStep(6, 0, inside));
      // Letters and dividers: gold, raised, with their shadow on the leather.
      const double letters = ink.At(x, y);
      const double dividers = std::max(DividerInk(px, py, 88.5, 40, 440), DividerInk(px, py, 165.5, 120, 360));
      const double gilt = std::max(letters, dividers);
      const double cast = std::max(ink.At(x - 1, y - 1) * 0.6 + ink.At(x - 2, y - 2) * 0.3,
                                   std::max(DividerInk(px - 1, py - 1, 88.5, 40, 440), DividerInk(px - 1, py - 1, 165.5, 120, 360)) * 0.6);
      c = c * (1 - 0.6 * Clamp(cast, 0, 1));
      relief.Paint(x, y, c, 1);
      relief.Gild(x, y, gilt, 1);
      relief.SetHeight(x, y, 1.2 * gilt, 1);
    }
  }
  CarvePanelFrame(relief, kSeed);
  return relief.Render();
}

}  // namespace qm::skinart
