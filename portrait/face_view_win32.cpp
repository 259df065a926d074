#include "portrait/face_view_win32.h"

#include <new>

#include "portrait/bitmap_pixels_win32.h"
#include "portrait/portrait_codec.h"

namespace qm {

bool DecodeFaceIntoView(std::span<const uint8_t> image, FaceKind kind, HBITMAP view) {
  if (image.empty() || view == nullptr) return false;
  try {
    Picture face;
    if (!DecodePortrait(image, FaceSize(kind), &face)) return false;
    return WriteBitmapPixels(view, face);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace qm
