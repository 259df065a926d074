// The button sheet: check boxes, the number box's arrows and the two caption buttons, each in
// its states, in the cells where the controls take them from. Around every shape lies the key
// colour; edge pixels are mixed with the surface the control sits on, so the shapes look
// smooth there.
#include <algorithm>
#include <cmath>

#include "tools/skinart/artwork.h"
#include "tools/skinart/layout.h"
#include "tools/skinart/materials.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

enum class State { kDisabled, kNormal, kPressed, kTicked };

// What lies under the controls: parchment under the check boxes and arrows, the walnut of the
// caption tab under the caption buttons.
constexpr Rgb kUnderCheck = kPanelTone;
constexpr Rgb kUnderCaption{62, 39, 23};

Rgb Grey(Rgb c) {
  const double g = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
  return Mix(Rgb{g, g, g}, Rgb{214, 210, 200}, 0.35);
}

// Renders a relief into the sheet at (left, top); `shape` gives the distance that decides
// what is key colour, `under` the colour the edge pixels are mixed with.
template <typename ShapeFn>
void Place(Canvas& sheet, const Relief& relief, int left, int top, ShapeFn shape, Rgb under, bool grey) {
  const Canvas lit = relief.Render();
  for (int y = 0; y < relief.height(); ++y) {
    for (int x = 0; x < relief.width(); ++x) {
      const double cover = Coverage(shape(x + 0.5, y + 0.5));
      if (cover < 0.5) {
        sheet.SetKey(left + x, top + y);
        sheet.Set(left + x, top + y, Rgb{255, 0, 255});
        continue;
      }
      Rgb c = lit.Get(x, y);
      if (grey) c = Grey(c);
      sheet.Set(left + x, top + y, Mix(under, c, cover));
    }
  }
}

// Check box: a gilded square rim around a sunken parchment well; ticked, a quill-red tick.
void DrawCheck(Canvas& sheet, int top, State state) {
  Relief relief(16, 14);
  const Box box{2, 1, 14, 13};
  const auto shape = [&box](double px, double py) { return RoundRectDistance(px, py, box, 2.5); };
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 16; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = shape(px, py);
      const double t = -d;  // depth inside
      // Rim: 2 px gold rising from the edge; well: lower, parchment, shadowed at upper left.
      double h = 0;
      if (t < 2.2) {
        const double k = (t - 1.1) / 1.1;
        h = 1.2 + 1.3 * std::sqrt(std::fmax(0, 1 - k * k));
        relief.Gild(x, y, 1, 1);
      } else {
        const double shadow = CastShadow(-(shape(px - 1.5, py - 1.5) + 2.2), 0.7);
        relief.Paint(x, y, Mix(Rgb{255, 253, 230}, Rgb{200, 180, 130}, 0.55 * shadow), 1);
      }
      relief.SetHeight(x, y, h, 1);
    }
  }
  if (state == State::kTicked) {
    // The tick: a short down stroke and a long up stroke, thick at the turn.
    for (int y = 0; y < 14; ++y) {
      for (int x = 0; x < 16; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        const double a = SegmentDistance(px, py, 4.6, 7.0, 7.2, 10.6) - 1.25;
        const double b = SegmentDistance(px, py, 7.2, 10.6, 13.6, 1.4) - (0.55 + 0.7 * Clamp((py - 1.4) / 9.2, 0, 1));
        const double ink = Coverage(std::min(a, b));
        relief.Paint(x, y, Rgb{150, 18, 16}, ink);
        relief.Gild(x, y, 0, ink);
        relief.SetHeight(x, y, 0.8, ink);
      }
    }
  }
  Place(sheet, relief, 0, top, shape, kUnderCheck, state == State::kDisabled);
}

// Arrow button: a small bronze cushion with an engraved triangle; pressed, it sinks.
void DrawArrow(Canvas& sheet, int left, int top, bool up, State state) {
  Relief relief(16, 14, Rgb{150, 104, 54});
  const Box box{0, 0, 16, 14};
  const auto shape = [&box](double px, double py) { return RoundRectDistance(px, py, box, 3); };
  const bool pressed = state == State::kPressed;
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 16; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double t = -shape(px, py);
      double h = std::min(t, 2.5) * 0.9;
      if (pressed) h = -h;
      Rgb base = Mix(Rgb{176, 126, 62}, Rgb{120, 78, 36}, py / 14);
      if (pressed) base = base * 0.8;
      relief.Paint(x, y, base, 1);
      relief.Gild(x, y, 0.55, 1);
      relief.SetHeight(x, y, h, 1);
      // Triangle pointing up or down, shifted when pressed.
      const double shift = pressed ? 1 : 0;
      const double cx = 8 + shift, cy = 7 + shift;
      const double dir = up ? -1 : 1;
      const double tri[] = {cx - 4.2, cy - dir * 2.2, cx + 4.2, cy - dir * 2.2, cx, cy + dir * 2.6};
      const double ink = Coverage(PolygonDistance(px, py, tri, 3));
      relief.Paint(x, y, Rgb{38, 20, 10}, ink);
      relief.Gild(x, y, 0, ink);
    }
  }
  Place(sheet, relief, left, top, shape, kUnderCheck, state == State::kDisabled);
}

// Caption button: a round gem in a gold setting; close is a ruby with a cross, minimize an
// emerald with a bar. Pressed, the gem darkens and its sign moves down and right.
void DrawCaptionButton(Canvas& sheet, int left, int top, bool close, bool pressed) {
  Relief relief(24, 20);
  const double cx = 12, cy = 10, radius = 9;
  const auto shape = [&](double px, double py) { return CircleDistance(px, py, cx, cy, radius); };
  const Rgb gem_light = close ? Rgb{236, 92, 70} : Rgb{104, 196, 120};
  const Rgb gem_dark = close ? Rgb{92, 10, 12} : Rgb{14, 70, 40};
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 24; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = shape(px, py);
      const double t = -d;
      if (t < 2.4) {
        const double k = (t - 1.2) / 1.2;
        relief.Gild(x, y, 1, 1);
        relief.SetHeight(x, y, 2 + 1.6 * std::sqrt(std::fmax(0, 1 - k * k)), 1);
        continue;
      }
      // The gem: lit from the upper left inside (light gathers at the lower right, as in a
      // cut stone), with a small white glint.
      const double r = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy)) / (radius - 2.4);
      const double toward = Clamp(((px - cx) + (py - cy)) / (2 * (radius - 2.4)) * 0.5 + 0.5, 0, 1);
      Rgb gem = Mix(gem_dark, gem_light, 0.25 + 0.6 * toward * (0.6 + 0.4 * r));
      const double glint = Coverage(CircleDistance(px, py, cx - 2.6, cy - 2.8, 1.3));
      gem = Mix(gem, Rgb{255, 250, 240}, 0.85 * glint);
      if (pressed) gem = gem * 0.7;
      relief.Paint(x, y, gem, 1);
      relief.SetHeight(x, y, 2, 1);
      // The sign, in pale gold.
      const double shift = pressed ? 1 : 0;
      const double sx = cx + shift, sy = cy + shift;
      double sign;
      if (close) {
        sign = std::min(SegmentDistance(px, py, sx - 2.6, sy - 2.6, sx + 2.6, sy + 2.6),
                        SegmentDistance(px, py, sx - 2.6, sy + 2.6, sx + 2.6, sy - 2.6)) - 0.85;
      } else {
        sign = SegmentDistance(px, py, sx - 3, sy + 2, sx + 3, sy + 2) - 0.9;
      }
      const double ink = Coverage(sign);
      relief.Paint(x, y, Rgb{255, 236, 170}, ink);
      relief.SetHeight(x, y, 2.6, ink);
    }
  }
  Place(sheet, relief, left, top, shape, kUnderCaption, false);
}

}  // namespace

Canvas DrawButtonSheet() {
  Canvas sheet(kSheetWidth, kSheetHeight, Rgb{255, 0, 255});
  const State rows[3] = {State::kDisabled, State::kNormal, State::kPressed};
  for (int row = 0; row < 3; ++row) {
    const int top = 14 * row;
    DrawCheck(sheet, top, row == 0 ? State::kDisabled : (row == 1 ? State::kNormal : State::kTicked));
    DrawArrow(sheet, 16, top, false, rows[row]);
    DrawArrow(sheet, 32, top, true, rows[row]);
  }
  for (int pressed = 0; pressed < 2; ++pressed) {
    const int top = 42 + 20 * pressed;
    DrawCaptionButton(sheet, 0, top, true, pressed == 1);
    DrawCaptionButton(sheet, 24, top, false, pressed == 1);
  }
  return sheet;
}

}  // namespace qm::skinart
