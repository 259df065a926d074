#include "portrait/picture_file.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "base/ascii.h"
#include "base/file.h"
#include "base/replacement_file.h"
#include "portrait/picture_decoders.h"
#include "portrait/picture_source.h"

// The one place that compiles the image writer.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace qm {
namespace {

// Files larger than this are not pictures this tool takes.
constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;

enum class Format { kUnknown, kJpeg, kPng, kGif, kBmp };

// The format by the file's first bytes. A JPEG may start with any number of 0xFF fill bytes
// before its start marker; `skip` is then how many to pass over so the decoder sees 0xFF 0xD8.
Format Sniff(PictureSource& source, uint64_t* skip) {
  *skip = 0;
  uint8_t head[8] = {};
  const std::span<const uint8_t> first = source.Next(sizeof head);
  std::copy(first.begin(), first.end(), head);
  static constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Format format = Format::kUnknown;
  if (first.size() == sizeof head && std::equal(std::begin(kPngSignature), std::end(kPngSignature), head)) {
    format = Format::kPng;
  } else if (first.size() >= 6 && head[0] == 'G' && head[1] == 'I' && head[2] == 'F' && head[3] == '8' &&
             (head[4] == '7' || head[4] == '9') && head[5] == 'a') {
    format = Format::kGif;
  } else if (first.size() >= 2 && head[0] == 'B' && head[1] == 'M') {
    format = Format::kBmp;
  } else if (first.size() >= 2 && head[0] == 0xFF) {
    // Count the fill bytes up to the first byte that is not 0xFF.
    uint64_t fill = 1;
    uint8_t next = 0;
    size_t i = 1;
    for (;;) {
      if (i < first.size()) {
        next = first[i++];
      } else if (!source.Read(&next, 1)) {
        break;
      }
      if (next != 0xFF) break;
      ++fill;
    }
    if (next == 0xD8) {
      format = Format::kJpeg;
      *skip = fill - 1;
    }
  }
  return format;
}

Status Decode(PictureSource& source, bool fill_transparent, uint32_t fill_colour, Picture* out, ReducedDecode* reduce) {
  if (source.size() == 0) return Status::Fail("empty file, not a picture");
  uint64_t skip = 0;
  const Format format = Sniff(source, &skip);
  if (source.read_failed()) return Status::Fail("cannot read");
  if (format == Format::kUnknown) return Status::Fail("not a picture (JPEG, GIF, BMP or PNG)");

  auto restart = [&] { return source.Rewind() && source.Skip(skip); };
  Status checked = Status::Ok();
  if (!restart()) return Status::Fail("cannot read");
  switch (format) {
    case Format::kJpeg: checked = decode::CheckJpegStructure(source); break;
    case Format::kPng: checked = decode::CheckPngStructure(source); break;
    case Format::kGif: checked = decode::CheckGifStructure(source); break;
    case Format::kBmp:
    case Format::kUnknown: break;  // BMP checks its sizes as it decodes
  }
  if (source.read_failed()) return Status::Fail("cannot read");
  if (!checked) return checked;
  if (!restart()) return Status::Fail("cannot read");

  if (reduce != nullptr) {
    reduce->file_width = reduce->file_height = 0;
    reduce->divisor = 1;
  }
  const decode::Request request{fill_transparent ? (fill_colour & 0x00FFFFFF) : kColourWhite, reduce};
  Picture picture;
  Status s = Status::Ok();
  switch (format) {
    case Format::kJpeg: s = decode::DecodeJpeg(source, request, &picture); break;
    case Format::kPng: s = decode::DecodePng(source, request, &picture); break;
    case Format::kGif: s = decode::DecodeGif(source, request, &picture); break;
    case Format::kBmp: s = decode::DecodeBmp(source, request, &picture); break;
    case Format::kUnknown: break;
  }
  if (source.read_failed()) return Status::Fail("cannot read");
  if (!s) return s;
  if (reduce != nullptr && reduce->file_width == 0) {
    reduce->file_width = picture.width();
    reduce->file_height = picture.height();
    reduce->divisor = 1;
  }
  *out = std::move(picture);
  return Status::Ok();
}

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (size > 0) out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

namespace decode {

Status CheckDeclaredSize(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return Status::Fail("picture has no pixels");
  if (width > INT32_MAX || height > INT32_MAX ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPicturePixels) {
    return Status::Fail("picture too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)");
  }
  return Status::Ok();
}

Status NewPicture(int width, int height, Picture* out, uint32_t fill) {
  try {
    *out = Picture(width, height, fill);
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory for the picture");
  }
  return Status::Ok();
}

}  // namespace decode

bool KeepsDetailFor(int width, int height, int target_width, int target_height) {
  return int64_t{width} >= int64_t{kReducedDetail} * target_width &&
         int64_t{height} >= int64_t{kReducedDetail} * target_height;
}

ReducedDecode ReducedForSize(int width, int height) {
  ReducedDecode reduce;
  reduce.enough = [width, height](int w, int h) { return KeepsDetailFor(w, h, width, height); };
  return reduce;
}

ReducedDecode ReducedForFace(const FaceOptions& options, FaceKind kind) {
  ReducedDecode reduce;
  reduce.enough = [options, kind](int w, int h) {
    const PixelRect crop = FittingRectangle(options, w, h).AsPixelRect();
    return KeepsDetailFor(crop.width, crop.height, FaceSize(kind), FaceSize(kind));
  };
  return reduce;
}

Status DecodePictureBytes(std::span<const uint8_t> bytes, bool fill_transparent, uint32_t fill_colour, Picture* out,
                          ReducedDecode* reduce) {
  PictureSource source(bytes);
  return Decode(source, fill_transparent, fill_colour, out, reduce);
}

Status LoadPictureFile(const std::string& path, bool fill_transparent, uint32_t fill_colour, Picture* out,
                       ReducedDecode* reduce) {
  File file = File::Open(path, File::Mode::kRead);
  if (!file.is_open()) return Status::Fail(path + ": cannot open");
  const std::optional<uint64_t> size = file.Size();
  if (!size) return Status::Fail(path + ": cannot read");
  if (*size > kMaxPictureFileBytes) return Status::Fail(path + ": file too large for a picture");
  PictureSource source(&file, *size);
  Status s = Decode(source, fill_transparent, fill_colour, out, reduce);
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

  return WriteWholeFile(path, bytes);
}

}  // namespace qm
