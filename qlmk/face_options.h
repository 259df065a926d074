// The face-fitting options of the commands that fit pictures into faces (face import, import),
// as the editor's option panel offers them, and the one place that turns them into FaceOptions.
// picture resize takes the resize method alone.
#pragma once

#include "portrait/face_fit.h"
#include "qlmk/command.h"

namespace qlmk {

inline constexpr Option kResizeMethodOption[] = {
    {"--method", "M", "the resize method: smart, halftone, s-bresenham, blinear (default) or bcubic"},
};

inline constexpr Option kFaceFitOptions[] = {
    {"--aspect", nullptr, "crop the picture to a centred square first (keep the aspect ratio)"},
    {"--ring", nullptr, "transparent pixels take the ring of the hero's alignment"},
};

// The part of the picture to use.
inline constexpr Option kFaceRangeOptions[] = {
    {"--x-range", "LO:HI", "use only the columns from LO to HI percent of the width"},
    {"--y-range", "LO:HI", "use only the rows from LO to HI percent of the height"},
};

// Whether a new large face makes the small face too. One face at a time follows the editor,
// which makes it unless told not to; a folder of pictures keeps the small faces unless asked,
// since it may carry small pictures of its own.
inline constexpr Option kNoSmallCopyOption[] = {
    {"--no-small-copy", nullptr,
     "a new large face leaves the small face alone (by default the small face is made from it as well)"},
};
inline constexpr Option kSmallFromLargeOption[] = {
    {"--small-from-large", nullptr,
     "a new large face makes the small face too (a small picture given for the same hero still wins)"},
};

// The resize method --method names, else `*method` stays. Returns kExitOk, or kExitUsage
// after the message for a name it does not know.
int ResizeMethodFromArgs(const Args& args, int* method);

// Reads the face options given into `options`, which holds the command's defaults on entry.
// Returns kExitOk, or kExitUsage after the message for a value it cannot take.
int FaceOptionsFromArgs(const Args& args, qm::FaceOptions* options);

}  // namespace qlmk
