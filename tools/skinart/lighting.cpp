#include "tools/skinart/lighting.h"

#include <cmath>

#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

// Light from the upper left and above, normalised.
constexpr double kLightX = -0.5;
constexpr double kLightY = -0.6;
constexpr double kLightZ = 0.6244997998398398;  // sqrt(1 - 0.25 - 0.36)

}  // namespace

const MetalRamp kGold = {{92, 58, 18}, {196, 148, 58}, {246, 214, 122}, {255, 247, 205}};
const MetalRamp kBronze = {{58, 36, 18}, {140, 96, 48}, {204, 160, 96}, {246, 222, 170}};

double Facing(const Field& height, int x, int y) {
  const double dx = (height.At(x + 1, y) - height.At(x - 1, y)) / 2;
  const double dy = (height.At(x, y + 1) - height.At(x, y - 1)) / 2;
  const double len = std::sqrt(dx * dx + dy * dy + 1);
  return (-dx * kLightX - dy * kLightY + kLightZ) / len;
}

double Shade(const Field& height, int x, int y) { return Facing(height, x, y) / kLightZ; }

Rgb Metal(const MetalRamp& ramp, double facing) {
  // Level ground faces the light by kLightZ; map facing so that level is the middle colour.
  if (facing < kLightZ) {
    const double t = Clamp((facing + 0.2) / (kLightZ + 0.2), 0, 1);
    return Mix(ramp.dark, ramp.mid, t);
  }
  const double t = Clamp((facing - kLightZ) / (0.97 - kLightZ), 0, 1);
  if (t < 0.8) return Mix(ramp.mid, ramp.light, t / 0.8);
  return Mix(ramp.light, ramp.glint, SmoothStep(0.8, 1.0, t));
}

}  // namespace qm::skinart
