#include "skin/button_face.h"

#include "skin/pixel_shade.h"

namespace qm::skin {
namespace {

void HLine(Picture* p, int x1, int x2, int y, int amount) { BrightenArea(p, x1, y, x2, y, amount); }
void VLine(Picture* p, int x, int y1, int y2, int amount) { BrightenArea(p, x, y1, x, y2, amount); }

}  // namespace

void ShadeButtonFace(Picture* face, int l, int t, int r, int b, int fill, ButtonLook look, const Bevel& bevel) {
  if (look == ButtonLook::kDisabled) {
    GreyArea(face, l, t, r, b);
  } else {
    BrightenArea(face, l, t, r, b, fill);
  }
  switch (look) {
    case ButtonLook::kNormal:
      HLine(face, l, r - 1, t, bevel.top_left);
      VLine(face, l, t + 1, b - 1, bevel.top_left);
      HLine(face, l + 1, r - 1, b - 1, bevel.inner);
      VLine(face, r - 1, t + 1, b - 1, bevel.inner);
      HLine(face, l, r, b, bevel.outer);
      VLine(face, r, t, b - 1, bevel.outer);
      break;
    case ButtonLook::kPressed:
      HLine(face, l, r - 1, t, bevel.outer);
      VLine(face, l + 1, t, b - 1, bevel.outer);
      VLine(face, l + 1, t + 2, b - 2, bevel.inner);
      HLine(face, l + 1, r - 2, t + 1, bevel.inner);
      HLine(face, l, r, b, bevel.top_left);
      VLine(face, r, t, b - 1, bevel.top_left);
      break;
    case ButtonLook::kDisabled:
      HLine(face, l, r - 1, t, bevel.top_left);
      VLine(face, l + 1, t + 1, b - 1, bevel.top_left);
      HLine(face, l + 1, r - 1, b - 1, bevel.inner);
      VLine(face, r - 1, t + 1, b - 1, bevel.inner);
      HLine(face, l, r, b, bevel.outer);
      VLine(face, r, t, b - 1, bevel.outer);
      break;
  }
}

LabelPasses ButtonLabelPasses(int l, int t, int r, int b, ButtonLook look) {
  (void)b;
  return LabelPassesAt((l + r) / 2, t + 3, kLabelColour, look);
}

LabelPasses LabelPassesAt(int x, int y, uint32_t colour, ButtonLook look) {
  LabelPasses out;
  switch (look) {
    case ButtonLook::kNormal:
      out.pass[0] = {colour, x, y};
      out.count = 1;
      break;
    case ButtonLook::kPressed:
      out.pass[0] = {colour, x + 1, y + 1};
      out.count = 1;
      break;
    case ButtonLook::kDisabled:
      out.pass[0] = {kDisabledShadowColour, x + 1, y + 1};
      out.pass[1] = {kDisabledLabelColourValue, x, y};
      out.count = 2;
      break;
  }
  return out;
}

}  // namespace qm::skin
