// Fuzz target: picture files (JPEG, GIF, BMP, PNG) as hostile input to the picture loader, at
// full size and, for what loads, once more as a caller that shrinks the picture would load it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "portrait/picture.h"
#include "portrait/picture_file.h"

namespace {

void CheckPicture(const qm::Picture& picture) {
  if (picture.empty() || picture.pixels().size() > qm::kMaxPicturePixels) std::abort();
  for (const uint32_t pixel : picture.pixels()) {
    if (pixel > 0x00FFFFFF) std::abort();  // 24-bit colour values only
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  qm::Picture picture;
  if (!qm::DecodePictureBytes(bytes, true, qm::kTransparentColour, &picture)) return 0;
  CheckPicture(picture);
  qm::ReducedDecode reduce = qm::ReducedForSize(4, 4);
  qm::Picture reduced;
  // What loads at full size loads reduced too, at its size divided (rounding up) by the divisor.
  if (!qm::DecodePictureBytes(bytes, true, qm::kTransparentColour, &reduced, &reduce)) std::abort();
  CheckPicture(reduced);
  if (reduce.file_width != picture.width() || reduce.file_height != picture.height() ||
      reduced.width() != (picture.width() + reduce.divisor - 1) / reduce.divisor ||
      reduced.height() != (picture.height() + reduce.divisor - 1) / reduce.divisor) {
    std::abort();
  }
  return 0;
}
