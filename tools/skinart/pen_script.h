// Pen script: the lettering of the artwork, written with a simulated broad-nib quill.
//
//   PenStyle pen;  pen.x_height = 15;
//   double w = TextWidth("Quillmark", pen);
//   Field ink = WriteText("Quillmark", pen, 10.0, 30.0, {0, 0, 180, 44});
//
// Each glyph is a few strokes, each stroke a chain of cubic Bezier curves in glyph units
// (x-height 1, baseline 0, y up). The nib is a short flat edge held at a fixed angle: swept
// along a stroke it lays down thick strokes where it moves across its edge and hairlines where
// it moves along it, as a quill does. Coverage is found on an 8 x 8 grid of samples per pixel.
// Only the letters the artwork uses exist; any other character writes nothing but a space.
#pragma once

#include <string_view>

#include "tools/skinart/canvas.h"

namespace qm::skinart {

struct PenStyle {
  double x_height = 14;     // pixels per glyph unit
  double nib_width = 0.2;   // glyph units
  double hairline = 0.035;  // thickness of the nib's thin side, glyph units
  double nib_cos = 0.7660444431189780;  // nib edge at 40 degrees, rising to the right
  double nib_sin = 0.6427876096865393;
  double slant = 0.18;      // horizontal shift per unit of height
  double tracking = 0.06;   // extra space after each glyph, glyph units
};

double TextWidth(std::string_view text, const PenStyle& pen);

// Ink coverage (0..1) of `text` with its baseline's left end at (x, baseline) in the
// coordinates of a field that covers the pixels [left, left + width) x [top, top + height).
struct FieldArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
Field WriteText(std::string_view text, const PenStyle& pen, double x, double baseline, FieldArea area);

}  // namespace qm::skinart
