#include "tools/skinart/relief.h"

namespace qm::skinart {

Relief::Relief(int width, int height, Rgb fill)
    : colour_(width, height, fill), height_(width, height), gold_(width, height) {}

void Relief::Gild(int x, int y, double gold, double alpha) {
  if (!colour_.Contains(x, y) || alpha <= 0) return;
  double& g = gold_.Ref(x, y);
  g += (gold - g) * Clamp(alpha, 0, 1);
}

void Relief::SetHeight(int x, int y, double h, double alpha) {
  if (!colour_.Contains(x, y) || alpha <= 0) return;
  double& v = height_.Ref(x, y);
  v += (h - v) * Clamp(alpha, 0, 1);
}

void Relief::Raise(int x, int y, double by) {
  if (colour_.Contains(x, y)) height_.Ref(x, y) += by;
}

Canvas Relief::Render(const MetalRamp& metal, double relief) const {
  Canvas out(width(), height());
  for (int y = 0; y < height(); ++y) {
    for (int x = 0; x < width(); ++x) {
      const double shade = 1 + (Shade(height_, x, y) - 1) * relief;
      const Rgb diffuse = colour_.Get(x, y) * shade;
      const double gold = gold_.At(x, y);
      const Rgb lit = gold > 0 ? Mix(diffuse, Metal(metal, Facing(height_, x, y)), gold) : diffuse;
      out.Set(x, y, lit);
      out.SetKey(x, y, colour_.IsKey(x, y));
    }
  }
  return out;
}

}  // namespace qm::skinart
