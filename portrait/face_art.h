// Face art: the mask and ring overlay images of the round portrait, drawn by code.
//
// The face fitting and the editor's skin bitmaps both take their mask and overlay from here,
// so the two are the same pixel for pixel.
//
//   Picture mask = MakeFaceMask(82);      // white disc of diameter 82, black corners
//   Picture ring = MakeRingOverlay(82);   // grey ring band, black elsewhere
//
// Mask: a pixel is white (kColourWhite) when its centre lies inside or on the circle that
// fills the square (diameter = size, centred), else black. ANDing a face with it blackens the
// corners and keeps the disc unchanged.
//
// Ring overlay: a grey (red = green = blue) ring from radius round(size x 31 / 82) to the
// disc's edge (size / 2): 31 to 41 for the large face, 20 to 26 for the small one. The grey
// rises linearly with the distance from the centre, from 50 at the inner edge to 81 at the outer
// edge; everything else is black. Its greys set the lightness and the shading of the ring that
// Auto-Ring paints. Every pixel of the ring band lies inside the mask's disc.
//
// All arithmetic is integer, so the images are identical in every build. A size of 0 or less
// gives an empty picture.
#pragma once

#include "portrait/picture.h"

namespace qm {

constexpr int kRingInnerGrey = 50;
constexpr int kRingOuterGrey = 81;

Picture MakeFaceMask(int size);
Picture MakeRingOverlay(int size);

}  // namespace qm
