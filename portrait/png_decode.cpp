// PNG through libpng: every colour type and depth becomes four bytes a pixel (red, green, blue,
// alpha), read row by row straight into the picture's memory, then made colour values in place.
// Sixteen-bit samples keep their high byte and no gamma is applied, so the colours are the
// file's. libpng's errors leave through its longjmp back into DecodePng; its warnings (about
// ancillary chunks) are ignored.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>

#include "portrait/picture_decoders.h"

namespace qm::decode {
namespace {

// libpng's last error message, kept without allocating (the error handler runs inside libpng).
struct Failure {
  char message[200];
};

void OnError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<Failure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "%s", message != nullptr ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep data, size_t length) {
  auto* source = static_cast<PictureSource*>(png_get_io_ptr(png));
  if (!source->Read(data, length)) png_error(png, "cut short");
}

// Everything the decode touches lives here, so that a longjmp back to DecodePng skips no
// destructor and clobbers no local.
class Decoder {
 public:
  Decoder(PictureSource& in, const Request& request) : in_(in), request_(request) {}
  ~Decoder() {
    if (png_ != nullptr) png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  bool Create() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure_, OnError, OnWarning);
    if (png_ == nullptr) return false;
    info_ = png_create_info_struct(png_);
    return info_ != nullptr;
  }
  png_structp png() { return png_; }
  std::string message() const { return failure_.message; }

  // May leave through OnError.
  Status Run(Picture* out);

 private:
  PictureSource& in_;
  const Request& request_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  Failure failure_{};
  Picture picture_;
};

Status Decoder::Run(Picture* out) {
  png_set_read_fn(png_, &in_, ReadBytes);
  png_read_info(png_, info_);
  const png_uint_32 width = png_get_image_width(png_, info_);
  const png_uint_32 height = png_get_image_height(png_, info_);
  if (Status s = CheckDeclaredSize(width, height); !s) return s;

  const int colour_type = png_get_color_type(png_, info_);
  const int bit_depth = png_get_bit_depth(png_, info_);
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png_);
  if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png_);
  if (png_get_valid(png_, info_, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png_);
  if (bit_depth == 16) png_set_strip_16(png_);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png_);
  png_set_add_alpha(png_, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha yet
  const int passes = png_set_interlace_handling(png_);
  png_read_update_info(png_, info_);
  if (png_get_rowbytes(png_, info_) != size_t{width} * 4) return Status::Fail("unsupported PNG picture (layout)");

  if (Status s = NewPicture(static_cast<int>(width), static_cast<int>(height), &picture_); !s) return s;
  // An interlaced picture's passes each fill some pixels of the rows read before.
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < picture_.height(); ++y) {
      png_read_row(png_, reinterpret_cast<png_bytep>(picture_.row(y)), nullptr);
    }
  }
  png_read_end(png_, nullptr);  // checks the rest of the file up to its end chunk

  for (int y = 0; y < picture_.height(); ++y) {
    uint32_t* row = picture_.row(y);
    const auto* bytes = reinterpret_cast<const uint8_t*>(row);
    for (int x = 0; x < picture_.width(); ++x, bytes += 4) {
      row[x] = bytes[3] < kOpaqueAlpha ? request_.background : MakeColour(bytes[0], bytes[1], bytes[2]);
    }
  }
  *out = std::move(picture_);
  return Status::Ok();
}

}  // namespace

Status DecodePng(PictureSource& source, const Request& request, Picture* out) {
  Decoder decoder(source, request);
  if (!decoder.Create()) return Status::Fail("not enough memory for the picture");
  if (setjmp(png_jmpbuf(decoder.png())) != 0) {
    if (source.read_failed()) return Status::Fail("cannot read");
    return Status::Fail("damaged or unsupported PNG picture (" + decoder.message() + ")");
  }
  return decoder.Run(out);
}

}  // namespace qm::decode
