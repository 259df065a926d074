// Fuzz target: portrait images as hostile input to the decoder and the bundle length rule.
// Whatever decodes must also re-encode into an image that decodes and measures itself exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "heroes/face_size.h"
#include "portrait/picture.h"
#include "portrait/portrait_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> image(data, size);
  if (const auto length = qm::PortraitImageLength(image); length && *length > size) std::abort();
  // The bundle walk takes an image's length and name from one reading of its header.
  if (const auto info = qm::ReadPortraitImageInfo(image); info) {
    const char* end = reinterpret_cast<const char*>(data + size);
    if (info->name != qm::PortraitImageName(image) || info->name.data() + info->name.size() > end) std::abort();
  }

  qm::Picture small, large;
  const bool small_ok = static_cast<bool>(qm::DecodePortrait(image, qm::kSmallFaceSize, &small));
  const bool large_ok = static_cast<bool>(qm::DecodePortrait(image, qm::kLargeFaceSize, &large));
  if (small_ok && !large_ok) std::abort();  // what fits the small face fits the large one
  if (static_cast<bool>(qm::ValidatePortrait(image, qm::kSmallFaceSize)) != small_ok) std::abort();
  if (!large_ok) return 0;

  std::vector<uint8_t> again;
  if (!qm::EncodePortrait(large, "fuzz", &again)) std::abort();
  qm::Picture decoded;
  if (!qm::DecodePortrait(again, qm::kLargeFaceSize, &decoded)) std::abort();
  if (qm::PortraitImageLength(again) != again.size()) std::abort();
  return 0;
}
