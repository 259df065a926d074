// Palette building and nearest-colour indexing for portrait images.
//
//   Palette palette = BuildPalette(face);            // entry 0 black, up to 255 colours
//   uint8_t index = NearestPaletteIndex(palette, c); // 1 .. 255, never 0
//
// BuildPalette collects the face's colours exactly while they fit into entries 1 .. 255, in
// the order they first occur (rows from the top, each from the left). When a 256th distinct
// colour appears it starts over with octree quantisation instead: only the top 6 bits of each
// component separate colours, the tree is reduced after every pixel so it never holds more
// than 255 leaves, and the averaged leaf colours fill entries 1, 2, ... in depth-first order.
// Entries left over are black.
//
// NearestPaletteIndex weighs the squared component differences red 29, green 58, blue 14 and
// keeps the lowest index among equals; an exact match ends the search. Entry 0 is left out:
// in a portrait image index 0 stands for the pixels outside a row's stored span.
#pragma once

#include <array>
#include <cstdint>

#include "portrait/picture.h"

namespace qm {

constexpr int kPaletteSize = 256;
using Palette = std::array<uint32_t, kPaletteSize>;

Palette BuildPalette(const Picture& face);
uint8_t NearestPaletteIndex(const Palette& palette, uint32_t colour);

}  // namespace qm
