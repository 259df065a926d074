// Fuzz target: picture files (JPEG, GIF, BMP, PNG) as hostile input to the picture loader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "portrait/picture.h"
#include "portrait/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qm::Picture picture;
  if (qm::DecodePictureBytes(std::span<const uint8_t>(data, size), true, qm::kTransparentColour,
                             &picture)) {
    if (picture.empty() || picture.pixels().size() > qm::kMaxPicturePixels) std::abort();
    for (const uint32_t pixel : picture.pixels()) {
      if (pixel > 0x00FFFFFF) std::abort();  // 24-bit colour values only
    }
  }
  return 0;
}
