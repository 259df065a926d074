// Deterministic noise for textures: integer hashing only, so the artwork comes out the same
// on every run and every machine.
//
//   double n = ValueNoise(x / 16.0, y / 16.0, kSeedParchment);   // smooth, 0..1
//   double f = Fractal(x / 64.0, y / 64.0, 5, kSeedParchment);   // several octaves, 0..1
#pragma once

#include <cstdint>

namespace qm::skinart {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed);
// Uniform in [0, 1).
double HashUnit(int32_t x, int32_t y, uint32_t seed);
// Smoothly interpolated lattice noise, 0..1.
double ValueNoise(double x, double y, uint32_t seed);
// Sum of `octaves` value noises at doubling frequency and halving amplitude, normalised to 0..1.
double Fractal(double x, double y, int octaves, uint32_t seed);

}  // namespace qm::skinart
