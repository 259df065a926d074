// The face views: painting a hero's stored faces into the skin's face view bitmaps, which the
// main window's picture controls 1019 (82 x 82) and 1020 (52 x 52) show.
//
//   bool shown = qm::DecodeFaceIntoView(record.face(qm::FaceKind::kLarge), qm::FaceKind::kLarge,
//                                       qm::skin::FaceViewBitmap(qm::FaceKind::kLarge));
//   // show control 1019 when `shown`, hide it when not (Refresh faces)
//
// Returns true when the portrait image was painted into the view. False, with the view
// untouched, when there are no bytes, the bytes are not a sound portrait image of that size
// (the decoder refuses anything that would reach outside its palette, face or buffer), or the
// view cannot be written. The view takes the whole face in one SetDIBits call. Whether a hero's
// face may be shown at all (its face flag) is the caller's question.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "heroes/face_size.h"

namespace qm {

bool DecodeFaceIntoView(std::span<const uint8_t> image, FaceKind kind, HBITMAP view);

}  // namespace qm
