// Relief: a picture built as a lit surface. Every pixel has a height, a diffuse colour and a
// share of gold; Render() lights it from the upper left, so carved frames, gilded beads and
// embossed letters get their highlights and shadows from their shape alone.
//
//   Relief relief(540, 440);
//   relief.Paint(x, y, Parchment(x, y, seed), 1.0);   // diffuse colour, with coverage
//   relief.Gild(x, y, 0.8);                           // 80 % gold
//   relief.Raise(x, y, 2.0);                          // height in pixels
//   Canvas canvas = relief.Render();
#pragma once

#include <cstdint>
#include <vector>

#include "tools/skinart/canvas.h"
#include "tools/skinart/lighting.h"

namespace qm::skinart {

class Relief {
 public:
  Relief(int width, int height, Rgb fill = {});

  int width() const { return colour_.width(); }
  int height() const { return colour_.height(); }

  void Paint(int x, int y, Rgb colour, double alpha) { colour_.Blend(x, y, colour, alpha); }
  Rgb ColourAt(int x, int y) const { return colour_.Get(x, y); }
  // Mixes the gold share towards `gold` (0..1) by `alpha`.
  void Gild(int x, int y, double gold, double alpha);
  // Mixes the height towards `h` by `alpha`.
  void SetHeight(int x, int y, double h, double alpha);
  void Raise(int x, int y, double by);
  double HeightAt(int x, int y) const { return height_.At(x, y); }
  void SetKey(int x, int y, bool key = true) { colour_.SetKey(x, y, key); }
  bool IsKey(int x, int y) const { return colour_.IsKey(x, y); }

  // Lights the surface: diffuse pixels by how they face the light (scaled by `relief`), gold
  // by the metal ramp.
  Canvas Render(const MetalRamp& metal = kGold, double relief = 1.0) const;

 private:
  Canvas colour_;
  Field height_;
  Field gold_;
};

}  // namespace qm::skinart
