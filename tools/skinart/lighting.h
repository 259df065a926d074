// Lighting of relief: the artwork's frames, rims, plates and letters are height fields lit by
// one light from the upper left, which makes them look carved and embossed.
//
//   Field height(w, h);  ... fill ...
//   double s = Shade(height, x, y);   // 1 on level ground, above 1 facing the light
//   Rgb gold = Metal(kGold, Facing(height, x, y));
#pragma once

#include "tools/skinart/canvas.h"

namespace qm::skinart {

// How much the surface at (x, y) faces the light: cosine of the angle between the surface
// normal and the light, from the height field's central differences.
double Facing(const Field& height, int x, int y);
// Facing relative to level ground (1 on a flat surface), for diffuse materials.
double Shade(const Field& height, int x, int y);

// A metal: colours of the surface turned away from the light, level, and facing it, plus the
// glint where it faces the light squarely.
struct MetalRamp {
  Rgb dark;
  Rgb mid;
  Rgb light;
  Rgb glint;
};

extern const MetalRamp kGold;
extern const MetalRamp kBronze;

Rgb Metal(const MetalRamp& ramp, double facing);

}  // namespace qm::skinart
