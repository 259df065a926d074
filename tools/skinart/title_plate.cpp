#include "tools/skinart/title_plate.h"

#include <algorithm>
#include <cmath>

#include "tools/skinart/materials.h"
#include "tools/skinart/pen_script.h"

namespace qm::skinart {
namespace {

constexpr double kRadius = 7;
constexpr double kRim = 3.2;
constexpr double kPlateHeight = 5;  // above the surface around it

// The title's vertical extent in glyph units: from the Q's tail to the ascenders.
constexpr double kInkBottom = -0.22;
constexpr double kInkTop = 1.62;

}  // namespace

void DrawTitlePlate(Relief& relief, Box plate, std::string_view title, uint32_t seed) {
  const auto distance = [&plate](double px, double py) { return RoundRectDistance(px, py, plate, kRadius); };

  // Ink of the title, centred in the plate's field.
  PenStyle pen;
  const double field_height = (plate.bottom - plate.top) - 2 * (kRim + 1.2);
  pen.x_height = std::floor(field_height / (kInkTop - kInkBottom));
  const double text_width = TextWidth(title, pen);
  const double x0 = (plate.left + plate.right) / 2 - text_width / 2 - pen.slant * pen.x_height * 0.5;
  const double baseline = (plate.top + plate.bottom) / 2 + pen.x_height * (kInkTop + kInkBottom) / 2;
  const FieldArea area{static_cast<int>(plate.left), static_cast<int>(plate.top),
                       static_cast<int>(plate.right - plate.left), static_cast<int>(plate.bottom - plate.top)};
  const Field ink = WriteText(title, pen, x0, baseline, area);
  // Gilded flourishes on either side of the title: a line tapering outwards from a lozenge.
  const double mid_y = baseline - pen.x_height * 0.5;
  const double gap = pen.x_height * 0.6;
  const double inner_left = x0 - gap + pen.slant * pen.x_height * 0.5;
  const double inner_right = x0 + text_width + gap + pen.slant * pen.x_height * 0.3;
  const double outer_left = plate.left + kRim + 6;
  const double outer_right = plate.right - kRim - 6;
  const auto flourish = [&](double px, double py) {
    double best = 0;
    for (int side = 0; side < 2; ++side) {
      const double from = side == 0 ? inner_left : inner_right;
      const double to = side == 0 ? outer_left : outer_right;
      const double reach = (px - from) / (to - from);  // 0 at the lozenge, 1 at the far end
      if (reach > -0.2 && reach < 1) {
        const double half = 0.15 + 0.9 * (1 - Clamp(reach, 0, 1));
        best = std::max(best, Coverage(std::fabs(py - mid_y) - half) * SmoothStep(1.0, 0.8, reach));
      }
      const double dir = side == 0 ? -1 : 1;
      const double lozenge[] = {from - dir * 3.5, mid_y, from, mid_y - 3, from + dir * 3.5, mid_y, from, mid_y + 3};
      best = std::max(best, Coverage(PolygonDistance(px, py, lozenge, 4)));
    }
    return best;
  };

  const int x_begin = std::max(0, static_cast<int>(plate.left) - 8);
  const int x_end = std::min(relief.width(), static_cast<int>(plate.right) + 8);
  const int y_begin = std::max(0, static_cast<int>(plate.top) - 8);
  const int y_end = std::min(relief.height(), static_cast<int>(plate.bottom) + 8);
  for (int y = y_begin; y < y_end; ++y) {
    for (int x = x_begin; x < x_end; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = distance(px, py);
      if (d > 0.5) {
        // Shadow on what lies below and to the right of the plate.
        if (!relief.IsKey(x, y)) {
          const double shadow = CastShadow(distance(px - 3, py - 3), 2.0);
          relief.Paint(x, y, relief.ColourAt(x, y) * 0.45, shadow * 0.7);
        }
        continue;
      }
      const double cover = Coverage(d);
      relief.SetKey(x, y, cover < 0.5 ? relief.IsKey(x, y) : false);
      const double t = -d;  // depth inside the plate's outline
      const int fx = x - area.left, fy = y - area.top;
      const double letter = std::max(ink.At(fx, fy), flourish(px, py));

      // Leather field with the rim's shadow along its upper and left edges.
      Rgb field = Leather(x, y, seed + 40);
      const double rim_shadow = CastShadow(-(distance(px - 2, py - 2) + kRim), 1.0);
      field = field * (1 - 0.45 * rim_shadow);
      // A fine gilded inlay line inside the rim.
      const double inlay = Coverage(std::fabs(t - kRim - 2.5) - 0.35);
      // Shadow of the raised letters on the leather.
      const double letter_shadow = ink.At(fx - 1, fy - 1) * 0.5 + ink.At(fx - 2, fy - 2) * 0.3;
      field = field * (1 - 0.55 * Clamp(letter_shadow, 0, 1));
      if (!relief.IsKey(x, y) || cover > 0) relief.Paint(x, y, field, cover);

      double h = kPlateHeight;
      double gold = 0;
      if (t < kRim) {
        // Rounded gilded rim.
        const double k = (t - kRim / 2) / (kRim / 2);
        h = kPlateHeight * 0.6 + 2.2 * std::sqrt(std::fmax(0, 1 - k * k));
        if (t < 1) h *= 0.4 + 0.6 * t;  // rounded outer edge
        gold = 1;
      }
      gold = std::max(gold, inlay * 0.9);
      h += 1.1 * letter;
      gold = std::max(gold, letter);
      relief.SetHeight(x, y, h, cover);
      relief.Gild(x, y, gold, cover);
    }
  }
}

}  // namespace qm::skinart
