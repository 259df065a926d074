// The materials of the artwork: parchment, dark walnut, oxblood leather, and the carved frame
// that joins them. Every function is deterministic in its pixel coordinates.
#pragma once

#include <cstdint>
#include <functional>

#include "tools/skinart/canvas.h"
#include "tools/skinart/relief.h"

namespace qm::skinart {

// Colours of the window system's own drawing that the artwork must sit well with.
constexpr Rgb kPanelTone{255, 251, 206};  // text background and solid control brushes
constexpr Rgb kOutline{22, 13, 8};

// Parchment around the panel tone: broad stains and fine mottling, never much darker, so
// black text stays readable everywhere.
Rgb Parchment(int x, int y, uint32_t seed);
// Dark walnut with its grain running along `along`.
Rgb Wood(double along, double across, uint32_t seed);
// Deep red leather with a fine pebbled grain.
Rgb Leather(int x, int y, uint32_t seed);

// The bed under a text button: the skin lightens it and shades the bevel into its edges, so it
// is a warm ochre, lighter at the top, that takes the dark blue label well. Around it on the
// parchment lies a faint shadow to the lower right.
void ButtonBed(Relief& relief, int left, int top, int width, int height, uint32_t seed);

// Signed distance of a shape at a point (negative inside).
using Shape = std::function<double(double, double)>;

// A carved frame between an outer outline and the opening it frames: a rounded outer lip, a
// level board of walnut and a gilded bead around the opening. Pixels outside `outer` become
// key pixels; pixels inside `opening` are left alone. `vertical` tells for a pixel whether its
// board runs up and down (its grain follows the board).
struct FrameStyle {
  double lip = 3;      // width of the rounded outer edge
  double board = 4;    // height of the level board above the opening's surface
  double bead = 2.6;   // width of the gilded bead at the opening
  uint32_t seed = 1;
};
void CarveFrame(Relief& relief, const Shape& outer, const Shape& opening,
                const std::function<bool(int, int)>& vertical, const FrameStyle& style);

// A gilded half-round bead lying just outside a shape's outline (distance 0 .. width).
void GildOutline(Relief& relief, int x, int y, double distance, double width, double base_height);

// A gilded dome (a nail head) of `radius` standing on a surface of `base_height`, with its
// shadow on that surface.
void GoldStud(Relief& relief, double cx, double cy, double radius, double base_height);

// Share of light an edge lit from the upper left takes from the surface beside it: 0 in full
// light, 1 in full shadow. `shifted` is the casting shape's distance at the point moved
// towards the light by the casting height.
double CastShadow(double shifted, double softness);

}  // namespace qm::skinart
