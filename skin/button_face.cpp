#include "skin/button_face.h"

#include "skin/pixel_shade.h"

namespace qm::skin {
namespace {

void HLine(Picture* p, int x1, int x2, int y, int amount) { BrightenArea(p, x1, y, x2, y, amount); }
void VLine(Picture* p, int x, int y1, int y2, int amount) { BrightenArea(p, x, y1, x, y2, amount); }

}  // namespace

void ShadeButtonFace(Picture* face, int l, int t, int r, int b, int fill, ButtonLook look) {
  if (look == ButtonLook::kDisabled) {
    GreyArea(face, l, t, r, b);
  } else {
    BrightenArea(face, l, t, r, b, fill);
  }
  switch (look) {
    case ButtonLook::kNormal:
      HLine(face, l, r - 1, t, -60);
      VLine(face, l, t + 1, b - 1, -60);
      HLine(face, l + 1, r - 1, b - 1, -100);
      VLine(face, r - 1, t + 1, b - 1, -100);
      HLine(face, l, r, b, -200);
      VLine(face, r, t, b - 1, -200);
      break;
    case ButtonLook::kPressed:
      HLine(face, l, r - 1, t, -200);
      VLine(face, l + 1, t, b - 1, -200);
      VLine(face, l + 1, t + 2, b - 2, -100);
      HLine(face, l + 1, r - 2, t + 1, -100);
      HLine(face, l, r, b, -60);
      VLine(face, r, t, b - 1, -60);
      break;
    case ButtonLook::kDisabled:
      HLine(face, l, r - 1, t, -60);
      VLine(face, l + 1, t + 1, b - 1, -60);
      HLine(face, l + 1, r - 1, b - 1, -100);
      VLine(face, r - 1, t + 1, b - 1, -100);
      HLine(face, l, r, b, -200);
      VLine(face, r, t, b - 1, -200);
      break;
  }
}

LabelPasses ButtonLabelPasses(int l, int t, int r, int b, ButtonLook look) {
  (void)b;
  const int centre = (l + r) / 2;
  LabelPasses out;
  switch (look) {
    case ButtonLook::kNormal:
      out.pass[0] = {kLabelColour, centre, t + 3};
      out.count = 1;
      break;
    case ButtonLook::kPressed:
      out.pass[0] = {kLabelColour, centre + 1, t + 4};
      out.count = 1;
      break;
    case ButtonLook::kDisabled:
      out.pass[0] = {kDisabledShadowColour, centre + 1, t + 4};
      out.pass[1] = {kDisabledLabelColourValue, centre, t + 3};
      out.count = 2;
      break;
  }
  return out;
}

}  // namespace qm::skin
