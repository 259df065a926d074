// Reduction of a true-colour canvas to a 256-colour bitmap.
//
//   IndexedImage image = Quantize(canvas, {kKeyColour, kPanelColour}, 0.5);
//
// Key pixels of the canvas become the key colour exactly (it must be among `reserved`), and
// no other pixel ever takes it, so the key-colour outline is exactly the one drawn. The
// reserved colours are palette entries as given; the remaining entries come from a median cut
// of the other pixels, refined by two rounds of averaging. `dither` (0..1) is the share of
// each pixel's error passed on to its neighbours (Floyd-Steinberg). All arithmetic on the
// pixels is integer, so the result is the same on every machine.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/skinart/bitmap_files.h"
#include "tools/skinart/canvas.h"

namespace qm::skinart {

constexpr uint32_t kKeyColour = 0x00FF00FF;  // magenta: red 255, green 0, blue 255

IndexedImage Quantize(const Canvas& canvas, const std::vector<uint32_t>& reserved, double dither);

// The canvas rounded to colour values, key pixels as the key colour.
Picture ToPicture(const Canvas& canvas);

// The colours of an indexed image, as a picture.
Picture Expand(const IndexedImage& image);

}  // namespace qm::skinart
