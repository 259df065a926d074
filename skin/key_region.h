// Key-colour shapes: which pixels of a bitmap area belong to a window's shape. Every pixel of
// the key colour is cut away; the shape is the rest.
//
//   std::vector<SpanRect> runs = OpaqueRuns(area, kSkinKeyColour);
//   // one rectangle per row and run of non-key pixels, each one row high, right/bottom exclusive
//
// The rectangles are relative to the area's top-left corner, in row order and left to right.
// An area without any key-coloured pixel gives one full-width run per row; an area that is all
// key colour gives none.
#pragma once

#include <cstdint>
#include <vector>

#include "portrait/picture.h"

namespace qm::skin {

constexpr uint32_t kSkinKeyColour = 0x00FF00FF;  // magenta, as a colour value

struct SpanRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool operator==(const SpanRect&) const = default;
};

// Runs of key-coloured pixels (what is cut away).
std::vector<SpanRect> KeyRuns(const Picture& area, uint32_t key);
// Runs of all other pixels (what stays): the key runs' complement within the area.
std::vector<SpanRect> OpaqueRuns(const Picture& area, uint32_t key);

}  // namespace qm::skin
