// The structure checks of picture_decoders.h: each walks a file's blocks as its decoder will,
// without decoding pixels, and refuses what no decoder could turn into a whole picture.
//
// The lower bounds on the size of the image data are the formats' own best cases, so no
// complete file can fall below them: deflate codes at most 258 bytes in 2 bits (1032 to 1); a
// GIF code of w bits stands for at most 2^w pixels, at most 4096 for 12 bits; every block of a
// JPEG scan that codes DC coefficients takes at least one bit.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/little_endian.h"
#include "portrait/picture_decoders.h"

namespace qm::decode {
namespace {

constexpr uint64_t kDeflateMaxRatio = 1032;
constexpr uint64_t kGifMaxPixelsPerCode = 4096;
constexpr uint64_t kGifMaxCodeBits = 12;
// More scans than any encoder writes; each scan makes the decoder pass over the whole picture.
constexpr int kMaxJpegScans = 256;

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

Status Cut(const char* format) { return Status::Fail(std::string("damaged ") + format + " picture (cut short)"); }

// ---- PNG ----

int PngChannels(uint8_t colour_type) {
  switch (colour_type) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

bool IsCritical(const uint8_t* type) { return (type[0] & 0x20) == 0; }

// ---- JPEG ----

struct JpegComponent {
  uint8_t id = 0;
  int h = 1;
  int v = 1;
};

struct JpegFrame {
  bool seen = false;
  int width = 0;
  int height = 0;
  int count = 0;
  JpegComponent components[4];
  int h_max = 1;
  int v_max = 1;
};

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

// Blocks that one scan codes: every block of its one component, or every MCU's blocks.
uint64_t BlocksInScan(const JpegFrame& f, const int* members, int count) {
  if (count == 1) {
    const JpegComponent& c = f.components[members[0]];
    const uint64_t w = CeilDiv(uint64_t(f.width) * uint64_t(c.h), uint64_t(f.h_max));
    const uint64_t h = CeilDiv(uint64_t(f.height) * uint64_t(c.v), uint64_t(f.v_max));
    return CeilDiv(w, 8) * CeilDiv(h, 8);
  }
  const uint64_t mcus =
      CeilDiv(uint64_t(f.width), 8 * uint64_t(f.h_max)) * CeilDiv(uint64_t(f.height), 8 * uint64_t(f.v_max));
  uint64_t per_mcu = 0;
  for (int i = 0; i < count; ++i) per_mcu += uint64_t(f.components[members[i]].h * f.components[members[i]].v);
  return mcus * per_mcu;
}

// Reads bytes one by one over the source's pieces.
class ByteReader {
 public:
  explicit ByteReader(PictureSource& source) : source_(source) {}
  bool Byte(uint8_t* out) {
    if (at_ == piece_.size()) {
      piece_ = source_.Next(PictureSource::kPieceBytes);
      at_ = 0;
      if (piece_.empty()) return false;
    }
    *out = piece_[at_++];
    return true;
  }
  bool Bytes(uint8_t* out, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      if (!Byte(out + i)) return false;
    }
    return true;
  }
  bool Skip(uint64_t n) {
    const size_t here = std::min<uint64_t>(n, piece_.size() - at_);
    at_ += here;
    return source_.Skip(n - here);
  }
  // Passes over bytes up to the next 0xFF, which it consumes; counts the bytes passed.
  bool ToNextFF(uint64_t* passed) {
    for (;;) {
      if (at_ == piece_.size()) {
        piece_ = source_.Next(PictureSource::kPieceBytes);
        at_ = 0;
        if (piece_.empty()) return false;
      }
      const void* ff = std::memchr(piece_.data() + at_, 0xFF, piece_.size() - at_);
      if (ff == nullptr) {
        *passed += piece_.size() - at_;
        at_ = piece_.size();
        continue;
      }
      const size_t index = static_cast<size_t>(static_cast<const uint8_t*>(ff) - piece_.data());
      *passed += index - at_;
      at_ = index + 1;
      return true;
    }
  }

 private:
  PictureSource& source_;
  std::span<const uint8_t> piece_;
  size_t at_ = 0;
};

}  // namespace

Status CheckPngStructure(PictureSource& source) {
  uint8_t head[8];
  if (!source.Read(head, sizeof head)) return Cut("PNG");  // the signature, known to be there
  bool first = true;
  uint32_t width = 0, height = 0;
  uint8_t bit_depth = 0, colour_type = 0;
  uint64_t image_data = 0;
  std::string type_name;
  for (;;) {
    uint8_t chunk[8];
    if (!source.Read(chunk, sizeof chunk)) return Cut("PNG");
    const uint32_t length = BigEndian32(chunk);
    const uint8_t* type = chunk + 4;
    type_name.assign(reinterpret_cast<const char*>(type), 4);
    if (length > 0x7FFFFFFFu) return Status::Fail("damaged PNG picture (chunk length)");
    if (first != (type_name == "IHDR")) return Status::Fail("damaged PNG picture (no header first)");
    if (uint64_t{length} + 4 > source.remaining()) return Cut("PNG");
    uLong crc = crc32(0L, type, 4);
    if (first) {
      uint8_t header[13];
      if (length != sizeof header || !source.Read(header, sizeof header)) {
        return Status::Fail("damaged PNG picture (header)");
      }
      crc = crc32(crc, header, sizeof header);
      width = BigEndian32(header);
      height = BigEndian32(header + 4);
      bit_depth = header[8];
      colour_type = header[9];
      if (Status s = CheckDeclaredSize(width, height); !s) return s;
      if (PngChannels(colour_type) == 0 || bit_depth == 0 || bit_depth > 16) {
        return Status::Fail("damaged PNG picture (header)");
      }
    } else if (IsCritical(type)) {
      for (uint32_t left = length; left > 0;) {
        const std::span<const uint8_t> piece = source.Next(std::min<uint32_t>(left, PictureSource::kPieceBytes));
        if (piece.empty()) return Cut("PNG");
        crc = crc32(crc, piece.data(), static_cast<uInt>(piece.size()));
        left -= static_cast<uint32_t>(piece.size());
      }
    } else if (!source.Skip(length)) {  // ancillary: the decoder ignores a bad checksum there
      return Cut("PNG");
    }
    uint8_t stored[4];
    if (!source.Read(stored, sizeof stored)) return Cut("PNG");
    if (IsCritical(type) && BigEndian32(stored) != static_cast<uint32_t>(crc)) {
      return Status::Fail("damaged PNG picture (checksum of " + type_name + ")");
    }
    if (type_name == "IDAT") image_data += length;
    if (type_name == "IEND") break;
    first = false;
  }
  if (image_data == 0) return Status::Fail("damaged PNG picture (no image data)");
  const uint64_t row_bits = uint64_t{width} * uint64_t(PngChannels(colour_type)) * bit_depth;
  const uint64_t pixel_bytes = CeilDiv(row_bits, 8) * height;
  if (pixel_bytes / kDeflateMaxRatio > image_data + 1) {
    return Status::Fail("damaged PNG picture (too little image data for its size)");
  }
  return Status::Ok();
}

Status CheckGifStructure(PictureSource& source) {
  uint8_t screen[13];
  if (!source.Read(screen, sizeof screen)) return Cut("GIF");
  if (Status s = CheckDeclaredSize(LoadU16(screen + 6), LoadU16(screen + 8)); !s) return s;
  const int screen_width = LoadU16(screen + 6), screen_height = LoadU16(screen + 8);
  if ((screen[10] & 0x80) != 0 && !source.Skip(3u << ((screen[10] & 7) + 1))) return Cut("GIF");
  auto skip_blocks = [&](uint64_t* total) {
    for (;;) {
      uint8_t length = 0;
      if (!source.Read(&length, 1)) return false;
      if (length == 0) return true;
      if (!source.Skip(length)) return false;
      *total += length;
    }
  };
  for (;;) {
    uint8_t kind = 0;
    if (!source.Read(&kind, 1)) return Cut("GIF");
    uint64_t data = 0;
    if (kind == 0x21) {  // extension: label, then data blocks
      uint8_t label = 0;
      if (!source.Read(&label, 1) || !skip_blocks(&data)) return Cut("GIF");
    } else if (kind == 0x2C) {  // the first frame: only it is decoded
      uint8_t frame[10];
      if (!source.Read(frame, sizeof frame)) return Cut("GIF");
      const int x = LoadU16(frame), y = LoadU16(frame + 2);
      const int w = LoadU16(frame + 4), h = LoadU16(frame + 6);
      if (x + w > screen_width || y + h > screen_height) {
        return Status::Fail("damaged GIF picture (frame outside the picture)");
      }
      if ((frame[8] & 0x80) != 0 && !source.Skip(3u << ((frame[8] & 7) + 1))) return Cut("GIF");
      const uint8_t code_size = frame[9];
      if (code_size < 1 || code_size > 11) return Status::Fail("damaged GIF picture (code size)");
      if (!skip_blocks(&data)) return Cut("GIF");
      const uint64_t pixels = uint64_t(w) * uint64_t(h);
      if (pixels * kGifMaxCodeBits > data * 8 * kGifMaxPixelsPerCode) {
        return Status::Fail("damaged GIF picture (too little image data for its size)");
      }
      return Status::Ok();
    } else if (kind == 0x3B) {
      return Status::Fail("damaged GIF picture (no image)");
    } else {
      return Status::Fail("damaged GIF picture (unknown block)");
    }
  }
}

Status CheckJpegStructure(PictureSource& source) {
  ByteReader in(source);
  uint8_t soi[2];
  if (!in.Bytes(soi, 2)) return Cut("JPEG");
  JpegFrame frame;
  int scans = 0;
  bool dc_scan = false;
  uint8_t marker = 0;
  bool have_marker = false;  // a marker that ended a scan's data, not yet handled
  for (;;) {
    if (!have_marker) {
      // Bytes between segments are skipped up to the next marker, as the decoder does.
      uint64_t passed = 0;
      if (!in.ToNextFF(&passed)) return Cut("JPEG");
      do {
        if (!in.Byte(&marker)) return Cut("JPEG");
      } while (marker == 0xFF);
      if (marker == 0x00) continue;
    }
    have_marker = false;
    if (marker == 0xD9) break;  // end of image
    if (marker == 0xD8) return Status::Fail("damaged JPEG picture (second start marker)");
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    uint8_t length_bytes[2];
    if (!in.Bytes(length_bytes, 2)) return Cut("JPEG");
    const uint16_t length = BigEndian16(length_bytes);
    if (length < 2) return Status::Fail("damaged JPEG picture (segment length)");
    const bool sequential = marker == 0xC0 || marker == 0xC1;
    if (sequential || marker == 0xC2) {
      uint8_t head[6];
      if (frame.seen || length < 8 || !in.Bytes(head, 6)) return Status::Fail("damaged JPEG picture (frame)");
      frame.seen = true;
      frame.height = BigEndian16(head + 1);
      frame.width = BigEndian16(head + 3);
      frame.count = head[5];
      if (frame.count < 1 || frame.count > 4 || length != 8 + 3 * frame.count) {
        return Status::Fail("unsupported JPEG picture (" + std::to_string(frame.count) + " components)");
      }
      if (Status s = CheckDeclaredSize(frame.width, frame.height); !s) return s;
      for (int i = 0; i < frame.count; ++i) {
        uint8_t c[3];
        if (!in.Bytes(c, 3)) return Cut("JPEG");
        JpegComponent& component = frame.components[i];
        component.id = c[0];
        component.h = c[1] >> 4;
        component.v = c[1] & 15;
        if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4) {
          return Status::Fail("damaged JPEG picture (sampling factors)");
        }
        frame.h_max = std::max(frame.h_max, component.h);
        frame.v_max = std::max(frame.v_max, component.v);
      }
      continue;
    }
    if (marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      const bool arithmetic = marker >= 0xC9;
      return Status::Fail(arithmetic ? "unsupported JPEG picture (arithmetic coding)"
                                     : "unsupported JPEG picture (lossless or hierarchical)");
    }
    if (marker != 0xDA) {
      if (marker < 0xC0) return Status::Fail("damaged JPEG picture (unknown marker)");
      if (!in.Skip(length - 2u)) return Cut("JPEG");
      continue;
    }
    // Start of scan: its components and spectral start, then its data up to the next marker.
    uint8_t count = 0;
    if (!frame.seen || length < 6 || !in.Byte(&count) || count < 1 || count > 4 || length != 6 + 2 * count) {
      return Status::Fail("damaged JPEG picture (scan)");
    }
    int members[4] = {};
    for (int i = 0; i < count; ++i) {
      uint8_t c[2];
      if (!in.Bytes(c, 2)) return Cut("JPEG");
      int found = -1;
      for (int k = 0; k < frame.count; ++k) {
        if (frame.components[k].id == c[0]) found = k;
      }
      if (found < 0) return Status::Fail("damaged JPEG picture (scan component)");
      members[i] = found;
    }
    uint8_t spectral[3];
    if (!in.Bytes(spectral, 3)) return Cut("JPEG");
    if (++scans > kMaxJpegScans) return Status::Fail("unsupported JPEG picture (too many scans)");
    uint64_t data = 0;
    for (;;) {
      if (!in.ToNextFF(&data)) return Cut("JPEG");
      uint8_t next = 0;
      do {
        if (!in.Byte(&next)) return Cut("JPEG");
      } while (next == 0xFF);
      if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
        data += 2;  // a stuffed 0xFF or a restart marker: the scan goes on
        continue;
      }
      marker = next;
      have_marker = true;
      break;
    }
    if (spectral[0] == 0) {  // codes DC coefficients: one bit per block at the least
      dc_scan = true;
      if (CeilDiv(BlocksInScan(frame, members, count), 8) > data) {
        return Status::Fail("damaged JPEG picture (too little image data for its size)");
      }
    }
  }
  if (!frame.seen || !dc_scan) return Status::Fail("damaged JPEG picture (no image data)");
  return Status::Ok();
}

}  // namespace qm::decode
