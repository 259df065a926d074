// The main window's backdrop: a parchment sheet in a carved walnut frame with a gilded bead,
// the title plate in the upper left corner, a dark socket for the two faces, engraved fields
// behind the path labels and a ruled panel for the messages. Key-coloured rows above the frame
// around the plate, the rounded corners and the last three rows give the window its outline.
#include <cmath>

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

constexpr Box kBody{0, 6, kMainWidth, kMainHeight - 3};
constexpr double kBodyRadius = 14;
constexpr Box kOpening{14, 18, 526, 414};
constexpr double kOpeningRadius = 6;
constexpr Box kCaptionTab{449, 10, 503, 44};
constexpr Box kPlate{2, 0, 188, 38};

// The face socket: a dark recess around both face views, joined into one shape.
constexpr double kSocketMargin = 3;
Box Around(Rect r, double margin) {
  return {r.left - margin, r.top - margin, r.right() + margin, r.bottom() + margin};
}
double SmoothUnion(double a, double b, double k) {
  const double h = Clamp(0.5 + 0.5 * (b - a) / k, 0, 1);
  return b + (a - b) * h - k * h * (1 - h);
}
double SocketDistance(double px, double py) {
  const double large = RoundRectDistance(px, py, Around(kLargeFace, kSocketMargin), 10);
  const double small = RoundRectDistance(px, py, Around(kSmallFace, kSocketMargin), 8);
  return SmoothUnion(large, small, 4);
}

// The engraved box behind the two path labels, beside the DIR and PATCH buttons.
constexpr Box kPathField{99, 246, 522, 286};
// The ruled panel around the message panel.
constexpr Box kMessageFrame{44, 298, 504, 410};

double OpeningDistance(double px, double py) {
  return Subtract(RoundRectDistance(px, py, kOpening, kOpeningRadius),
                  RoundRectDistance(px, py, kCaptionTab, 5));
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
  for (int y = 30; y < 200; ++y) {
    for (int x = 10; x < 120; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = SocketDistance(px, py);
      if (d > 6) continue;
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
    }
  }
}

void DrawPathField(Relief& relief) {
  for (int y = 240; y < 292; ++y) {
    for (int x = 90; x < 528; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = RoundRectDistance(px, py, kPathField, 3);
      if (d < 0.5) {
        // Slightly sunken and darker, with the upper edge's shadow inside.
        const double shade = 0.955 - 0.07 * CastShadow(-RoundRectDistance(px - 1.5, py - 1.5, kPathField, 3), 0.8);
        relief.Paint(x, y, relief.ColourAt(x, y) * shade, Coverage(d));
      }
      if (std::fabs(d) < 1.2) relief.Paint(x, y, Rgb{120, 88, 52}, Coverage(std::fabs(d) - 0.5) * 0.8);
    }
  }
  // The divider between the two rows.
  EngraveRow(relief, 266, 104, 517, 0.12);
}

void DrawMessageFrame(Relief& relief) {
  for (int y = 290; y < 416; ++y) {
    for (int x = 36; x < 512; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double outer = RoundRectDistance(px, py, kMessageFrame, 4);
      const double inner = RoundRectDistance(px, py, Inset(kMessageFrame, 3), 2);
      // Double rule: a firm outer line and a fine inner one, in faded brown ink.
      const double line1 = Coverage(std::fabs(outer) - 0.6);
      const double line2 = Coverage(std::fabs(inner) - 0.35);
      relief.Paint(x, y, Rgb{112, 78, 44}, 0.75 * line1 + 0.45 * line2);
    }
  }
  // Faint ledger rules under the six text lines.
  for (int line = 0; line < kMessageLines - 1; ++line) {
    const int y = kMessagePanel.top + 2 + kMessageLineStep * line + 15;
    for (int x = kMessagePanel.left + 4; x < kMessagePanel.right() - 4; ++x) {
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
  EngraveRow(relief, 240, 20, 520, 0.16);
  DrawDivider(relief, 293);
  DrawMessageFrame(relief);

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

  DrawTitlePlate(relief, kPlate, "Quillmark", kSeed);
  return relief.Render();
}

}  // namespace qm::skinart
