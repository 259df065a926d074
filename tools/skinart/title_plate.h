// The title plate: a leather-covered plate in a gilded rim with the title written in gold
// with the pen script, raised above the surface around it and casting a soft shadow.
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/skinart/relief.h"
#include "tools/skinart/shapes.h"

namespace qm::skinart {

// Draws the plate over whatever the relief holds; plate pixels stop being key pixels.
void DrawTitlePlate(Relief& relief, Box plate, std::string_view title, uint32_t seed);

}  // namespace qm::skinart
