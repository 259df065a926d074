// Pixel shading: the brightness change and the greyscale that give the skin its engraved rules,
// button bevels and lightened control backgrounds.
//
//   Brighten(MakeColour(250, 10, 128), 20)   -> (255, 30, 148)   each channel clamped to 0..255
//   Greyscale(MakeColour(255, 0, 0))          -> (76, 76, 76)     int(0.587 g + 0.114 b + 0.299 r)
//   BrightenArea(&pic, 10, 25, 470, 25, -30)  // one row, x 10..470 inclusive
//
// Area forms take inclusive corners (x1, y1) .. (x2, y2); a first coordinate above the last
// does nothing, and the part outside the picture is skipped. Colours are colour values
// (portrait/picture.h: red in the low byte).
#pragma once

#include <cstdint>

#include "portrait/picture.h"

namespace qm::skin {

uint32_t Brighten(uint32_t colour, int amount);
uint32_t Greyscale(uint32_t colour);

void BrightenArea(Picture* picture, int x1, int y1, int x2, int y2, int amount);
void GreyArea(Picture* picture, int x1, int y1, int x2, int y2);

}  // namespace qm::skin
