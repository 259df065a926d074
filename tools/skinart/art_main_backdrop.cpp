// The main window's backdrop: a parchment sheet in a carved walnut frame with a gilded bead,
// the title plate in the upper left corner, a dark socket for the two faces, engraved fields
// behind the path labels and a ruled panel for the messages. Key-coloured rows above the frame
// around the plate, the rounded corners and the last three rows give the window its outline.
#include <algorithm>
#include <cmath>

#include "skin/control_layout.h"
#include "tools/skinart/artwork.h"
#include "tools/skinart/layout.h"
#include "tools/skinart/materials.h"
#include "tools/skinart/noise.h"
#include "tools/skinart/pen_script.h"
#include "tools/skinart/shapes.h"
#include "tools/skinart/title_plate.h"

namespace qm::skinart {
namespace {

constexpr uint32_t kSeed = 0x51u;

// The outline and the parchment opening are the artwork's own; everything inside follows the
// controls' places.
constexpr Box kBody{0, 6, kMainWidth, kMainHeight - 3};
constexpr double kBodyRadius = 14;
constexpr Box kOpening{14, 18, 526, 414};
constexpr double kOpeningRadius = 6;

Box Around(Rect r, double margin) {
  return {r.left - margin, r.top - margin, r.right() + margin, r.bottom() + margin};
}

struct Geometry {
  Box caption_tab;    // the walnut tab the caption buttons sit on
  Box plate;          // the title plate, in the corner left of the combo boxes, above the faces
  Box large_socket;   // the dark recess around the face views
  Box small_socket;
  Box path_field;     // engraved box behind the path labels, beside DIR and PATCH
  int rule_row;       // engraved rule between the face buttons and DIR
  int divider_row;    // ornament between PATCH and the messages
  Box message_frame;  // ruled frame around the message panel
  Rect message_panel;
};

Geometry Layout() {
  using namespace skin;
  Geometry g;
  const Rect minimize = ControlRect(kIdMinimize), close = ControlRect(kIdClose);
  g.caption_tab = {minimize.left - 4.0, 10, close.right() + 4.0, close.bottom() + 4.0};
  g.plate = {2, 0, ControlRect(kIdSex).left - 1.0, ControlRect(kIdLargeFace).top - 5.0};
  g.large_socket = Around(ControlRect(kIdLargeFace), 3);
  g.small_socket = Around(ControlRect(kIdSmallFace), 3);
  const Rect dir = ControlRect(kIdDir), patch = ControlRect(kIdPatch);
  g.path_field = {dir.right() + 3.0, static_cast<double>(dir.top), static_cast<double>(ControlRect(kIdBiography).right()),
                  static_cast<double>(patch.bottom())};
  g.rule_row = (ControlRect(kIdLoadSmall).bottom() + dir.top) / 2 - 1;
  g.message_panel = ControlRect(kIdMessagePanel);
  g.message_frame = Around(g.message_panel, 6);
  g.divider_row = (patch.bottom() + static_cast<int>(g.message_frame.top)) / 2;
  return g;
}

const Geometry& Where() {
  static const Geometry g = Layout();
  return g;
}

// Calls fn(x, y) for every pixel within `margin` of the box.
template <typename Fn>
void AroundBox(Box box, int margin, Fn fn) {
  const int y0 = std::max(0, static_cast<int>(box.top) - margin);
  const int y1 = std::min(kMainHeight, static_cast<int>(box.bottom) + margin + 1);
  const int x0 = std::max(0, static_cast<int>(box.left) - margin);
  const int x1 = std::min(kMainWidth, static_cast<int>(box.right) + margin + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) fn(x, y);
  }
}

double SmoothUnion(double a, double b, double k) {
  const double h = Clamp(0.5 + 0.5 * (b - a) / k, 0, 1);
  return b + (a - b) * h - k * h * (1 - h);
}

// The face socket: both recesses joined into one shape.
double SocketDistance(double px, double py) {
  const double large = RoundRectDistance(px, py, Where().large_socket, 10);
  const double small = RoundRectDistance(px, py, Where().small_socket, 8);
  return SmoothUnion(large, small, 4);
}

double OpeningDistance(double px, double py) {
  return Subtract(RoundRectDistance(px, py, kOpening, kOpeningRadius),
                  RoundRectDistance(px, py, Where().caption_tab, 5));
}

double OuterDistance(double px, double py) {
  return RoundRectDistance(px, py, kBody, kBodyRadius);
}

void DrawSheet(Relief& relief) {
  for (int y = 0; y < kMainHeight; ++y) {
    for (int x = 0; x < kMainWidth; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double inside = -OpeningDistance(px, py);
      if (inside < -0.5) continue;
      Rgb c = Parchment(x, y, kSeed);
      // Old paper darkens towards its edges; the frame throws a shadow to the lower right.
      c = Mix(c, Rgb{196, 164, 104}, 0.5 * std::pow(SmoothStep(9, 0, inside), 2));
      const double shadow = CastShadow(-OpeningDistance(px - 2.5, py - 2.5), 1.0);
      c = c * (1 - 0.28 * shadow * SmoothStep(6, 0, inside));
      relief.Paint(x, y, c, Coverage(-inside));
    }
  }
}

// A recessed engraved line: dark groove with a light lip below it.
void EngraveRow(Relief& relief, int y, int x0, int x1, double depth) {
  for (int x = x0; x <= x1; ++x) {
    const double fade = SmoothStep(x0, x0 + 24, x) * SmoothStep(x1, x1 - 24, x);
    relief.Paint(x, y, relief.ColourAt(x, y) * (1 - depth), fade);
    relief.Paint(x, y + 1, Mix(relief.ColourAt(x, y + 1), Rgb{255, 255, 240}, 0.6), fade);
  }
}

void DrawSocket(Relief& relief) {
  const Box& a = Where().large_socket;
  const Box& b = Where().small_socket;
  const Box both{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
  AroundBox(both, 8, [&relief](int x, int y) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = SocketDistance(px, py);
      if (d > 6) return;
      // Shadow of the parchment's edge onto the socket floor and of the rim onto the paper.
      if (d < 0.5) {
        const double depth = Clamp(-d / 3, 0, 1);
        Rgb floor = Mix(Rgb{40, 28, 20}, Rgb{9, 7, 6}, depth);
        relief.Paint(x, y, floor, Coverage(d));
        relief.SetHeight(x, y, -1.5, Coverage(d));
      }
      GildOutline(relief, x, y, d, 2.4, 0);
      if (d > 2) {
        const double shadow = CastShadow(SocketDistance(px - 2, py - 2) - 2.4, 1.2);
        relief.Paint(x, y, relief.ColourAt(x, y) * 0.8, shadow * SmoothStep(6, 2.4, d));
      }
  });
}

void DrawPathField(Relief& relief) {
  AroundBox(Where().path_field, 3, [&relief](int x, int y) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = RoundRectDistance(px, py, Where().path_field, 3);
      if (d < 0.5) {
        // Slightly sunken and darker, with the upper edge's shadow inside.
        const double shade = 0.955 - 0.07 * CastShadow(-RoundRectDistance(px - 1.5, py - 1.5, Where().path_field, 3), 0.8);
        relief.Paint(x, y, relief.ColourAt(x, y) * shade, Coverage(d));
      }
      if (std::fabs(d) < 1.2) relief.Paint(x, y, Rgb{120, 88, 52}, Coverage(std::fabs(d) - 0.5) * 0.8);
  });
  // The divider between the two rows.
  const Box& field = Where().path_field;
  EngraveRow(relief, static_cast<int>(field.top + field.bottom) / 2, static_cast<int>(field.left) + 5,
             static_cast<int>(field.right) - 5, 0.12);
}

void DrawMessageFrame(Relief& relief) {
  AroundBox(Where().message_frame, 3, [&relief](int x, int y) {
      const double px = x + 0.5, py = y + 0.5;
      const double outer = RoundRectDistance(px, py, Where().message_frame, 4);
      const double inner = RoundRectDistance(px, py, Inset(Where().message_frame, 3), 2);
      // Double rule: a firm outer line and a fine inner one, in faded brown ink.
      const double line1 = Coverage(std::fabs(outer) - 0.6);
      const double line2 = Coverage(std::fabs(inner) - 0.35);
      relief.Paint(x, y, Rgb{112, 78, 44}, 0.75 * line1 + 0.45 * line2);
  });
  // Faint ledger rules under the six text lines.
  for (int line = 0; line < kMessageLines - 1; ++line) {
    const int y = Where().message_panel.top + 2 + kMessageLineStep * line + 15;
    for (int x = Where().message_panel.left + 4; x < Where().message_panel.right() - 4; ++x) {
      relief.Paint(x, y, Rgb{170, 150, 128}, 0.35);
    }
  }
}

void DrawDivider(Relief& relief, int y) {
  const double cx = kMainWidth / 2.0;
  for (int yy = y - 5; yy <= y + 5; ++yy) {
    for (int x = 24; x < kMainWidth - 24; ++x) {
      const double px = x + 0.5, py = yy + 0.5;
      const double reach = std::fabs(px - cx);
      // Tapering line: thickest at the middle, fading to nothing at the ends.
      const double half = 0.9 * SmoothStep(250, 30, reach) + 0.15;
      const double line = Coverage(std::fabs(py - (y + 0.5)) - half) * SmoothStep(250, 200, reach);
      const double diamond[] = {cx - 7, y + 0.5, cx, y - 3.5, cx + 7, y + 0.5, cx, y + 4.5};
      const double gem = Coverage(PolygonDistance(px, py, diamond, 4));
      relief.Paint(x, yy, Rgb{120, 84, 46}, Clamp(line * 0.8 + gem, 0, 1));
    }
  }
}

}  // namespace

Canvas DrawMainBackdrop() {
  Relief relief(kMainWidth, kMainHeight, kPanelTone);
  DrawSheet(relief);
  DrawSocket(relief);
  DrawPathField(relief);
  EngraveRow(relief, Where().rule_row, 20, 520, 0.16);
  DrawDivider(relief, Where().divider_row);
  DrawMessageFrame(relief);
  for (const skin::ControlPlacement& c : skin::kMainControls) {
    if (skin::DrawKindOf(c.id) == skin::DrawKind::kTextButton) ButtonBed(relief, c.left, c.top, c.width, c.height, kSeed);
  }

  const auto vertical = [](int x, int y) {
    const double to_side = std::fmin(x, kMainWidth - 1 - x);
    const double to_end = std::fmin(y - kBody.top, kBody.bottom - 1 - y);
    return to_side < to_end;
  };
  FrameStyle frame;
  frame.seed = kSeed;
  CarveFrame(relief, OuterDistance, OpeningDistance, vertical, frame);

  // Nail heads in the bottom board's ends and middle.
  const double board_middle = (kOpening.bottom + kBody.bottom) / 2 + 1;
  for (double x : {28.0, kMainWidth / 2.0, kMainWidth - 28.0}) GoldStud(relief, x, board_middle, 3.2, frame.board);

  DrawTitlePlate(relief, Where().plate, "Quillmark", kSeed);
  return relief.Render();
}

}  // namespace qm::skinart
