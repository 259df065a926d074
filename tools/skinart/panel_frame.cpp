#include "tools/skinart/panel_frame.h"

#include <algorithm>

#include "tools/skinart/layout.h"
#include "tools/skinart/materials.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {
namespace {

constexpr Box kPanelOpening{9, 9, kPanelWidth - 9, kPanelHeight - 9};

}  // namespace

double PanelOpeningDistance(double px, double py) { return RoundRectDistance(px, py, kPanelOpening, 4); }

void CarvePanelFrame(Relief& relief, uint32_t seed) {
  const auto outer = [](double px, double py) {
    return RoundRectDistance(px, py, Box{-1, -1, kPanelWidth + 1.0, kPanelHeight + 1.0}, 0);
  };
  // A pixel's board runs up and down when it lies nearer a side than the top or bottom.
  const auto vertical = [](int x, int y) {
    return std::min(x, kPanelWidth - 1 - x) < std::min(y, kPanelHeight - 1 - y);
  };
  FrameStyle frame;
  frame.seed = seed;
  frame.lip = 2.5;
  CarveFrame(relief, outer, PanelOpeningDistance, vertical, frame);
}

}  // namespace qm::skinart
