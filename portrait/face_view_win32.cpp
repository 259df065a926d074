#include "portrait/face_view_win32.h"

#include <new>

#include "portrait/bitmap_pixels_win32.h"
#include "portrait/portrait_codec.h"

namespace qm {

bool DecodeFaceIntoView(const HeroRecord* record, FaceKind kind, HBITMAP view) {
  if (record == nullptr || view == nullptr) return false;
  const bool large = kind == FaceKind::kLarge;
  if (!(large ? record->has_large() : record->has_small())) return false;
  const std::vector<uint8_t>& image = large ? record->large_face : record->small_face;
  if (image.empty()) return false;
  try {
    Picture face;
    if (!DecodePortrait(image, FaceSize(kind), &face)) return false;
    return WriteBitmapPixels(view, face);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace qm
