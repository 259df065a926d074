// Button faces: the bevel that turns a piece of backdrop into a push button, and where its
// label goes.
//
//   Picture face = ...backdrop under the button...;        // width x height
//   ShadeButtonFace(&face, 0, 0, w - 1, h - 1, 25, ButtonLook::kPressed);
//   for (const LabelPass& pass : ButtonLabelPasses(0, 0, w - 1, h - 1, ButtonLook::kPressed))
//     draw the label centred on pass.x with its top at pass.y in pass.colour
//
// The rectangle (left, top) .. (right, bottom) is inclusive. Normal and pressed faces are
// lightened by `fill`, a disabled face turns grey; the bevel is then shaded into the edges:
// raised when normal, sunken (the label moves one pixel right and down) when pressed. A
// disabled label is drawn twice, an engraved light shadow first. The patcher's buttons are cut
// the same way with a bevel and a label colour of their own.
#pragma once

#include <array>
#include <cstdint>

#include "portrait/picture.h"

namespace qm::skin {

enum class ButtonLook : int { kNormal = 0, kPressed = 1, kDisabled = 2 };

constexpr uint32_t kLabelColour = MakeColour(10, 10, 80);
constexpr uint32_t kDisabledShadowColour = MakeColour(206, 223, 231);
constexpr uint32_t kDisabledLabelColourValue = MakeColour(130, 130, 148);

// How much each edge of the bevel is lightened (negative: darkened) on a raised face: the top
// and left edge, the inner line along the bottom and right, and the outer bottom and right edge.
// A sunken face takes `outer` at the top and left and `top_left` at the bottom and right.
struct Bevel {
  int top_left;
  int inner;
  int outer;
};
constexpr Bevel kSkinBevel{-60, -100, -200};

void ShadeButtonFace(Picture* face, int left, int top, int right, int bottom, int fill, ButtonLook look,
                     const Bevel& bevel = kSkinBevel);

struct LabelPass {
  uint32_t colour = 0;
  int x = 0;  // the label's horizontal centre
  int y = 0;  // the label's top
};
struct LabelPasses {
  std::array<LabelPass, 2> pass{};
  int count = 0;
};
LabelPasses ButtonLabelPasses(int left, int top, int right, int bottom, ButtonLook look);
// The passes of a label in `colour` whose normal place is (x, y).
LabelPasses LabelPassesAt(int x, int y, uint32_t colour, ButtonLook look);

}  // namespace qm::skin
