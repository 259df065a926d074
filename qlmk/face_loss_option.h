// --allow-face-loss, for the commands that change a hero's class (set, import). Generic and
// unknown classes have no portrait bundle, so a save drops the faces of a hero changed to one;
// without the option such a change is refused (heroes/face_loss.h).
#pragma once

#include "qlmk/command.h"

namespace qlmk {

inline constexpr Option kAllowFaceLossOption[] = {
    {"--allow-face-loss", nullptr,
     "allow a class change that makes the save drop the hero's faces (generic has no portrait bundle)"},
};

}  // namespace qlmk
