// JPEG through libjpeg-turbo, row by row straight into the picture's memory (the library writes
// four bytes a pixel, as the picture stores them). Errors leave the library through a longjmp
// back into DecodeJpeg; warnings that mean the image data is cut short or damaged are errors
// too, so a picture with made-up parts is never reported as loaded.

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <string>

#include "portrait/picture_decoders.h"

namespace qm::decode {
namespace {

struct Errors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<Errors*>(info->err);
  info->err->format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  switch (info->err->msg_code) {
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_JPEG_EOF: OnError(info);
    default: break;  // harmless: unknown JFIF versions, stray bytes between segments and the like
  }
}

struct Source {
  jpeg_source_mgr manager;
  PictureSource* in;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
  auto* source = reinterpret_cast<Source*>(info->src);
  const std::span<const uint8_t> piece = source->in->Next(SIZE_MAX);
  if (piece.empty()) WARNMS(info, JWRN_JPEG_EOF);  // an error: OnMessage does not return
  source->manager.next_input_byte = piece.data();
  source->manager.bytes_in_buffer = piece.size();
  return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
  auto* source = reinterpret_cast<Source*>(info->src);
  if (count <= 0) return;
  const size_t n = static_cast<size_t>(count);
  if (n <= source->manager.bytes_in_buffer) {
    source->manager.next_input_byte += n;
    source->manager.bytes_in_buffer -= n;
    return;
  }
  const uint64_t beyond = n - source->manager.bytes_in_buffer;
  source->manager.bytes_in_buffer = 0;
  // Past the end: the next fill reports it.
  if (!source->in->Skip(beyond)) static_cast<void>(source->in->Skip(source->in->remaining()));
}

uint8_t Multiply(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

// Everything the decode touches lives here, so that a longjmp back to DecodeJpeg skips no
// destructor and clobbers no local.
class Decoder {
 public:
  Decoder(PictureSource& in, const Request& request) : request_(request) {
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = OnError;
    errors_.manager.emit_message = OnMessage;
    source_.in = &in;
    source_.manager.init_source = InitSource;
    source_.manager.fill_input_buffer = FillInput;
    source_.manager.skip_input_data = SkipInput;
    source_.manager.resync_to_restart = jpeg_resync_to_restart;
    source_.manager.term_source = TermSource;
  }
  ~Decoder() {
    if (created_) jpeg_destroy_decompress(&info_);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  std::jmp_buf& jump() { return errors_.jump; }
  std::string LibraryMessage() const { return errors_.message; }

  // May leave through OnError.
  Status Run(Picture* out);

 private:
  void ChooseScale();
  void ToColours(int first, int count);

  const Request& request_;
  jpeg_decompress_struct info_{};
  Errors errors_{};
  Source source_{};
  bool created_ = false;
  bool cmyk_ = false;
  bool inverted_ = false;
  Picture picture_;
};

void Decoder::ChooseScale() {
  ReducedDecode* reduce = request_.reduce;
  if (reduce == nullptr) return;
  reduce->file_width = static_cast<int>(info_.image_width);
  reduce->file_height = static_cast<int>(info_.image_height);
  reduce->divisor = 1;
  if (!reduce->enough) return;
  for (const unsigned eighths : {1u, 2u, 4u}) {
    info_.scale_num = eighths;
    info_.scale_denom = 8;
    jpeg_calc_output_dimensions(&info_);
    if (reduce->enough(static_cast<int>(info_.output_width), static_cast<int>(info_.output_height))) {
      reduce->divisor = static_cast<int>(8 / eighths);
      return;
    }
  }
  info_.scale_num = info_.scale_denom = 1;
}

void Decoder::ToColours(int first, int count) {
  const int width = picture_.width();
  for (int y = first; y < first + count; ++y) {
    uint32_t* row = picture_.row(y);
    const auto* bytes = reinterpret_cast<const uint8_t*>(row);
    for (int x = 0; x < width; ++x, bytes += 4) {
      if (!cmyk_) {
        row[x] = MakeColour(bytes[0], bytes[1], bytes[2]);
        continue;
      }
      // Adobe's CMYK is stored inverted (255 is no ink), others are not.
      const uint32_t c = bytes[0], m = bytes[1], ye = bytes[2], k = bytes[3];
      if (inverted_) {
        row[x] = MakeColour(Multiply(c, k), Multiply(m, k), Multiply(ye, k));
      } else {
        row[x] = MakeColour(Multiply(255 - c, 255 - k), Multiply(255 - m, 255 - k), Multiply(255 - ye, 255 - k));
      }
    }
  }
}

Status Decoder::Run(Picture* out) {
  jpeg_create_decompress(&info_);
  created_ = true;
  info_.src = &source_.manager;
  jpeg_read_header(&info_, TRUE);
  if (Status s = CheckDeclaredSize(info_.image_width, info_.image_height); !s) return s;
  cmyk_ = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
  inverted_ = info_.saw_Adobe_marker;
  info_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_RGBX;
  ChooseScale();
  jpeg_start_decompress(&info_);
  if (info_.output_components != 4) return Status::Fail("unsupported JPEG picture (colours)");
  if (Status s = NewPicture(static_cast<int>(info_.output_width), static_cast<int>(info_.output_height), &picture_);
      !s) {
    return s;
  }
  constexpr int kMaxRows = 4;
  JSAMPROW rows[kMaxRows];
  const int height = picture_.height();
  while (static_cast<int>(info_.output_scanline) < height) {
    const int first = static_cast<int>(info_.output_scanline);
    const int count = std::min({kMaxRows, height - first, std::max(1, info_.rec_outbuf_height)});
    for (int i = 0; i < count; ++i) rows[i] = reinterpret_cast<JSAMPROW>(picture_.row(first + i));
    const int got = static_cast<int>(jpeg_read_scanlines(&info_, rows, static_cast<JDIMENSION>(count)));
    if (got <= 0) return Status::Fail("damaged JPEG picture (no more rows)");
    ToColours(first, got);
  }
  jpeg_finish_decompress(&info_);
  *out = std::move(picture_);
  return Status::Ok();
}

}  // namespace

Status DecodeJpeg(PictureSource& source, const Request& request, Picture* out) {
  Decoder decoder(source, request);
  if (setjmp(decoder.jump()) != 0) {
    if (source.read_failed()) return Status::Fail("cannot read");
    return Status::Fail("damaged or unsupported JPEG picture (" + decoder.LibraryMessage() + ")");
  }
  return decoder.Run(out);
}

}  // namespace qm::decode
