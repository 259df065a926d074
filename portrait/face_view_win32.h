// The face views: painting a hero's stored faces into the skin's face view bitmaps, which the
// main window's picture controls 1019 (82 x 82) and 1020 (52 x 52) show.
//
//   bool shown = qm::DecodeFaceIntoView(&record, qm::FaceKind::kLarge,
//                                       qm::skin::FaceViewBitmap(qm::FaceKind::kLarge));
//   // show control 1019 when `shown`, hide it when not (Refresh faces)
//
// Returns true when the record's face of that size was painted into the view. False, with the
// view untouched, when there is no record, the record's face flag of that size is clear, it
// holds no bytes for that face, the bytes are not a sound portrait image of that size (the
// decoder refuses anything that would reach outside its palette, face or buffer), or the view
// cannot be written. The view takes the whole face in one SetDIBits call.
#pragma once

#include <windows.h>

#include "heroes/hero_record.h"
#include "portrait/face_size.h"

namespace qm {

bool DecodeFaceIntoView(const HeroRecord* record, FaceKind kind, HBITMAP view);

}  // namespace qm
