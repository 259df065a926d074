// JPEG, PNG and GIF through stb_image, for the Windows build, where the system has no such
// libraries to link and the platform's own decoder has no PNG (and the editor falls back here
// for files it refuses). The file is read into memory whole, as stb_image needs it.
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "portrait/jpeg_check.h"
#include "portrait/picture_decoders.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 65535
#include <stb_image.h>

namespace qm::decode {
namespace {

enum class Kind { kJpeg, kPng, kGif };

struct StbiFree {
  void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

Status Failure(const char* format) {
  const char* reason = stbi_failure_reason();
  return Status::Fail(std::string("damaged or unsupported ") + format + " picture (" +
                      (reason != nullptr ? reason : "unknown") + ")");
}

Status Decode(PictureSource& source, const Request& request, Picture* out, Kind kind) {
  const char* format = kind == Kind::kJpeg ? "JPEG" : kind == Kind::kPng ? "PNG" : "GIF";
  if (source.remaining() > static_cast<uint64_t>(INT32_MAX)) return Status::Fail("picture file too large");
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(source.remaining()));
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory to read the picture");
  }
  if (!source.Read(bytes.data(), bytes.size())) return Status::Fail("cannot read");
  if (kind == Kind::kJpeg && !JpegHuffmanTablesFit(bytes)) {
    return Status::Fail("damaged JPEG picture (bad Huffman table)");
  }
  const int length = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) return Failure(format);
  if (Status s = CheckDeclaredSize(width, height); !s) return s;
  std::unique_ptr<stbi_uc, StbiFree> rgba(stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
  if (!rgba) return Failure(format);

  Picture picture;
  if (Status s = NewPicture(width, height, &picture); !s) return s;
  const stbi_uc* p = rgba.get();
  for (uint32_t& pixel : picture.pixels()) {
    const bool clear = (kind == Kind::kGif && p[3] == 0) || (kind == Kind::kPng && p[3] < kOpaqueAlpha);
    pixel = clear ? request.background : MakeColour(p[0], p[1], p[2]);
    p += 4;
  }
  *out = std::move(picture);
  return Status::Ok();
}

}  // namespace

Status DecodeJpeg(PictureSource& source, const Request& request, Picture* out) {
  return Decode(source, request, out, Kind::kJpeg);
}
Status DecodePng(PictureSource& source, const Request& request, Picture* out) {
  return Decode(source, request, out, Kind::kPng);
}
Status DecodeGif(PictureSource& source, const Request& request, Picture* out) {
  return Decode(source, request, out, Kind::kGif);
}

}  // namespace qm::decode
