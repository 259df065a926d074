// The frame the 480 x 240 panels share (the about and option panels, the patcher's window): an
// opening 9 pixels in from the edge with corners of radius 4, and walnut carved from it out to
// the panel's edge.
#pragma once

#include <cstdint>

#include "tools/skinart/relief.h"

namespace qm::skinart {

// Signed distance of a point to the panel's opening (negative inside).
double PanelOpeningDistance(double px, double py);

// Carves the frame over a panel-sized relief; the opening is left alone.
void CarvePanelFrame(Relief& relief, uint32_t seed);

}  // namespace qm::skinart
