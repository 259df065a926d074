#include "tools/skinart/noise.h"

#include <cmath>

namespace qm::skinart {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h = (h ^ (h >> 13)) * 0x297A2D39u;
  return h ^ (h >> 16);
}

double HashUnit(int32_t x, int32_t y, uint32_t seed) {
  return static_cast<double>(Hash(x, y, seed) >> 8) / 16777216.0;
}

double ValueNoise(double x, double y, uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int32_t ix = static_cast<int32_t>(fx);
  const int32_t iy = static_cast<int32_t>(fy);
  double tx = x - fx;
  double ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const double a = HashUnit(ix, iy, seed);
  const double b = HashUnit(ix + 1, iy, seed);
  const double c = HashUnit(ix, iy + 1, seed);
  const double d = HashUnit(ix + 1, iy + 1, seed);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fractal(double x, double y, int octaves, uint32_t seed) {
  double sum = 0;
  double amplitude = 1;
  double total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 7919u);
    total += amplitude;
    amplitude *= 0.5;
    x *= 2;
    y *= 2;
  }
  return total > 0 ? sum / total : 0;
}

}  // namespace qm::skinart
