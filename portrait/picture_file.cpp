#include "portrait/picture_file.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <string_view>

#include "base/ascii.h"
#include "base/file.h"
#include "base/replacement_file.h"
#include "portrait/jpeg_check.h"

// The one place that compiles the image libraries. Only the four formats are decoded, from
// memory (files are read through the checked file layer).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 65535
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace qm {
namespace {

// Files larger than this are not pictures this tool takes.
constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;
constexpr uint8_t kOpaqueAlpha = 128;  // PNG alpha at or above this counts as opaque

enum class Transparency { kNone, kGif, kPng };

Transparency TransparencyOf(std::span<const uint8_t> bytes) {
  static constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= 6 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8') {
    return Transparency::kGif;
  }
  if (bytes.size() >= sizeof kPngSignature &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin())) {
    return Transparency::kPng;
  }
  return Transparency::kNone;
}

struct StbiFree {
  void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

std::string DecodeFailure() {
  const char* reason = stbi_failure_reason();
  const std::string why = reason ? reason : "unknown";
  if (why == "unknown image type") return "not a picture (JPEG, GIF, BMP or PNG)";
  return "damaged or unsupported picture (" + why + ")";
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (size > 0) out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

Status DecodePictureBytes(std::span<const uint8_t> bytes, bool fill_transparent,
                          uint32_t fill_colour, Picture* out) {
  if (bytes.empty()) return Status::Fail("empty file, not a picture");
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) return Status::Fail("picture file too large");
  const auto* data = bytes.data();
  const int length = static_cast<int>(bytes.size());
  if (!JpegHuffmanTablesFit(bytes)) return Status::Fail("damaged JPEG picture (bad Huffman table)");
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
    return Status::Fail(DecodeFailure());
  }
  if (width <= 0 || height <= 0) return Status::Fail("picture has no pixels");
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPicturePixels) {
    return Status::Fail("picture too large (" + std::to_string(width) + " x " +
                        std::to_string(height) + " pixels)");
  }

  std::unique_ptr<stbi_uc, StbiFree> rgba(stbi_load_from_memory(data, length, &width, &height,
                                                                &channels, 4));
  if (!rgba) return Status::Fail(DecodeFailure());

  const Transparency transparency = TransparencyOf(bytes);
  const uint32_t background = fill_transparent ? fill_colour : kColourWhite;
  try {
    Picture picture(width, height);
    const stbi_uc* p = rgba.get();
    for (uint32_t& pixel : picture.pixels()) {
      const bool clear = (transparency == Transparency::kGif && p[3] == 0) ||
                         (transparency == Transparency::kPng && p[3] < kOpaqueAlpha);
      pixel = clear ? background : MakeColour(p[0], p[1], p[2]);
      p += 4;
    }
    *out = std::move(picture);
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory for the picture");
  }
  return Status::Ok();
}

Status LoadPictureFile(const std::string& path, bool fill_transparent, uint32_t fill_colour,
                       Picture* out) {
  std::vector<uint8_t> bytes;
  switch (ReadWholeFile(path, kMaxPictureFileBytes, &bytes)) {
    case ReadWholeResult::kOk: break;
    case ReadWholeResult::kCannotOpen: return Status::Fail(path + ": cannot open");
    case ReadWholeResult::kTooLarge: return Status::Fail(path + ": file too large for a picture");
    case ReadWholeResult::kNoMemory: return Status::Fail(path + ": not enough memory to read it");
    case ReadWholeResult::kReadFailed: return Status::Fail(path + ": cannot read");
  }
  Status s = DecodePictureBytes(bytes, fill_transparent, fill_colour, out);
  if (!s) return Status::Fail(path + ": " + s.why());
  return s;
}

Status EncodePicture(const Picture& picture, PictureFormat format, std::vector<uint8_t>* out) {
  if (picture.empty()) return Status::Fail("picture has no pixels");
  std::vector<uint8_t> rgb;
  std::vector<uint8_t> encoded;
  try {
    rgb.reserve(picture.pixels().size() * 3);
    for (const uint32_t pixel : picture.pixels()) {
      rgb.push_back(RedOf(pixel));
      rgb.push_back(GreenOf(pixel));
      rgb.push_back(BlueOf(pixel));
    }
    const int w = picture.width(), h = picture.height();
    const int ok = format == PictureFormat::kPng
                       ? stbi_write_png_to_func(AppendBytes, &encoded, w, h, 3, rgb.data(), w * 3)
                       : stbi_write_bmp_to_func(AppendBytes, &encoded, w, h, 3, rgb.data());
    if (!ok || encoded.empty()) return Status::Fail("cannot encode the picture");
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory to encode the picture");
  }
  *out = std::move(encoded);
  return Status::Ok();
}

Status WritePictureFile(const std::string& path, const Picture& picture) {
  const std::string_view extension =
      path.size() >= 4 ? std::string_view(path).substr(path.size() - 4) : std::string_view();
  PictureFormat format;
  if (AsciiEqualNoCase(extension, ".png")) {
    format = PictureFormat::kPng;
  } else if (AsciiEqualNoCase(extension, ".bmp")) {
    format = PictureFormat::kBmp;
  } else {
    return Status::Fail(path + ": unknown picture type (use .png or .bmp)");
  }
  std::vector<uint8_t> bytes;
  if (Status s = EncodePicture(picture, format, &bytes); !s) return Status::Fail(path + ": " + s.why());

  ReplacementFile out;
  Status s = ReplacementFile::Create(path, &out);
  if (s && !out.file().Write(bytes.data(), bytes.size())) s = Status::Fail("cannot write " + out.temp_path());
  if (s) s = out.Commit();  // else the destructor deletes the temporary file
  if (!s) return Status::Fail(path + ": " + s.why());
  return Status::Ok();
}

}  // namespace qm
