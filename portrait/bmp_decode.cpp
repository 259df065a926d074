// Windows bitmaps: the core, info and V4/V5 headers; 1, 4 and 8 bits through a palette, also
// run-length coded, 16 and 32 bits through bit fields (or their defaults), 24 bits; bottom-up or
// top-down rows. Embedded JPEG or PNG is refused. Uncoded rows are read one at a time straight
// into the picture, after the file was found long enough to hold all of them.
#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "portrait/picture_decoders.h"

namespace qm::decode {
namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

Status Damaged(const std::string& why) { return Status::Fail("damaged BMP picture (" + why + ")"); }

// One channel of a bit-field pixel, widened to 8 bits by repeating its bits (5-bit 31 -> 255).
struct Field {
  int shift = 0;
  int bits = 0;

  explicit Field(uint32_t mask) {
    if (mask == 0) return;
    while ((mask & 1) == 0) {
      mask >>= 1;
      ++shift;
    }
    while ((mask & 1) != 0) {
      mask >>= 1;
      ++bits;
    }
  }
  uint32_t Of(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
    if (bits >= 8) return v >> (bits - 8);
    uint32_t wide = 0;
    for (int at = 8 - bits;; at -= bits) {
      wide |= at >= 0 ? v << at : v >> -at;
      if (at <= 0) break;
    }
    return wide & 0xFF;
  }
};

// Run-length coded 8- or 4-bit rows, bottom-up: runs of one index (4 bits: two alternating),
// literal stretches padded to a 16-bit boundary, ends of rows, moves right and up, and the end
// of the picture. Pixels that the data skips keep the picture's background, like a GIF's
// uncovered ones; pixels beyond a row's end are dropped. Data that ends before the end marker
// is cut short.
Status DecodeRle(PictureSource& source, int bits, const std::vector<uint32_t>& palette, Picture* picture) {
  const int64_t width = picture->width(), height = picture->height();
  int64_t x = 0, y = 0;
  auto put = [&](unsigned index) {
    if (x < width && y < height) picture->row(static_cast<int>(height - 1 - y))[x] = palette[index];
    ++x;
  };
  while (y < height) {
    uint8_t pair[2];
    if (!source.Read(pair, 2)) return Damaged("cut short");
    if (pair[0] > 0) {  // a run
      for (int i = 0; i < pair[0]; ++i) put(bits == 8 ? pair[1] : (i % 2 == 0 ? pair[1] >> 4 : pair[1] & 15));
      continue;
    }
    if (pair[1] == 0) {  // end of the row
      x = 0;
      ++y;
    } else if (pair[1] == 1) {  // end of the picture
      break;
    } else if (pair[1] == 2) {  // move
      uint8_t move[2];
      if (!source.Read(move, 2)) return Damaged("cut short");
      x += move[0];
      y += move[1];
    } else {  // literal indices
      const int count = pair[1];
      const int bytes = bits == 8 ? count : (count + 1) / 2;
      uint8_t literal[256];
      if (!source.Read(literal, static_cast<size_t>(bytes + bytes % 2))) return Damaged("cut short");
      for (int i = 0; i < count; ++i)
        put(bits == 8 ? literal[i] : (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 15));
    }
  }
  return Status::Ok();
}

}  // namespace

Status DecodeBmp(PictureSource& source, const Request& request, Picture* out) {
  uint8_t file_header[14];
  uint8_t size_bytes[4];
  if (!source.Read(file_header, sizeof file_header) || !source.Read(size_bytes, 4)) return Damaged("cut short");
  const uint32_t data_offset = LoadU32(file_header + 10);
  const uint32_t header_size = LoadU32(size_bytes);
  if (header_size != 12 && header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 &&
      header_size != 124) {
    return Status::Fail("unsupported BMP picture (header of " + std::to_string(header_size) + " bytes)");
  }
  std::array<uint8_t, 124> h{};
  if (!source.Read(h.data() + 4, header_size - 4)) return Damaged("cut short");
  int64_t width = 0, height = 0;
  int bit_count = 0;
  uint32_t compression = kRgb, colours_used = 0;
  uint32_t masks[3] = {};
  bool core = header_size == 12;
  if (core) {
    width = LoadU16(h.data() + 4);
    height = LoadU16(h.data() + 6);
    bit_count = LoadU16(h.data() + 10);
  } else {
    width = static_cast<int32_t>(LoadU32(h.data() + 4));
    height = static_cast<int32_t>(LoadU32(h.data() + 8));
    bit_count = LoadU16(h.data() + 14);
    compression = LoadU32(h.data() + 16);
    colours_used = LoadU32(h.data() + 32);
    if (header_size >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = LoadU32(h.data() + 40 + 4 * i);
    }
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (Status s = CheckDeclaredSize(width, height); !s) return s;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields && compression != kRle8 &&
      compression != kRle4) {
    return Status::Fail("unsupported BMP picture (compression " + std::to_string(compression) + ")");
  }
  const bool rle = compression == kRle8 || compression == kRle4;
  if (rle && (bit_count != (compression == kRle8 ? 8 : 4) || top_down)) return Damaged("run-length coding");
  const bool fields = compression == kBitFields || compression == kAlphaBitFields;
  if (fields && bit_count != 16 && bit_count != 32) return Damaged("bit fields need 16 or 32 bits");
  if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 16 && bit_count != 24 && bit_count != 32) {
    return Status::Fail("unsupported BMP picture (" + std::to_string(bit_count) + " bits per pixel)");
  }
  uint64_t consumed = sizeof file_header + header_size;
  if (fields && header_size == 40) {  // the masks follow the info header
    uint8_t m[12];
    if (!source.Read(m, sizeof m)) return Damaged("cut short");
    for (int i = 0; i < 3; ++i) masks[i] = LoadU32(m + 4 * i);
    consumed += sizeof m;
  }
  if (!fields) {
    if (bit_count == 16) {
      masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
      masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
  }

  std::vector<uint32_t> palette;
  if (bit_count <= 8) {
    const uint32_t most = 1u << bit_count;
    const uint32_t count = (colours_used == 0 || colours_used > most) ? most : colours_used;
    const size_t entry = core ? 3 : 4;
    // Some writers leave out palette entries that no pixel uses: read what fits before the data.
    const uint64_t room = data_offset > consumed ? (data_offset - consumed) / entry : 0;
    const uint32_t present = static_cast<uint32_t>(std::min<uint64_t>(count, room));
    if (present == 0) return Damaged("no palette");
    palette.assign(most, kColourBlack);
    for (uint32_t i = 0; i < present; ++i) {
      uint8_t e[4];
      if (!source.Read(e, entry)) return Damaged("cut short");
      palette[i] = MakeColour(e[2], e[1], e[0]);
    }
    consumed += present * entry;
  }
  if (data_offset < consumed) return Damaged("pixel data inside the header");
  if (rle) {
    // The runs can cover any size from a few bytes, so only the size limit applies.
    Picture picture;
    if (!source.Skip(data_offset - consumed)) return Damaged("cut short");
    if (Status s = NewPicture(static_cast<int>(width), static_cast<int>(height), &picture, request.background); !s) {
      return s;
    }
    if (Status s = DecodeRle(source, bit_count, palette, &picture); !s) return s;
    *out = std::move(picture);
    return Status::Ok();
  }
  const uint64_t stride = (static_cast<uint64_t>(width) * static_cast<uint64_t>(bit_count) + 31) / 32 * 4;
  if (data_offset > source.size() || stride * static_cast<uint64_t>(height) > source.size() - data_offset) {
    return Damaged("cut short");
  }
  if (!source.Skip(data_offset - consumed)) return Damaged("cut short");

  Picture picture;
  if (Status s = NewPicture(static_cast<int>(width), static_cast<int>(height), &picture); !s) return s;
  std::vector<uint8_t> row;
  try {
    row.resize(static_cast<size_t>(stride));
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory for the picture");
  }
  const Field red(masks[0]), green(masks[1]), blue(masks[2]);
  const int w = static_cast<int>(width);
  for (int64_t n = 0; n < height; ++n) {
    if (!source.Read(row.data(), row.size())) return Damaged("cut short");
    uint32_t* to = picture.row(static_cast<int>(top_down ? n : height - 1 - n));
    const uint8_t* p = row.data();
    switch (bit_count) {
      case 1:
      case 4:
      case 8: {
        const int per_byte = 8 / bit_count;
        const uint32_t index_mask = (1u << bit_count) - 1;
        for (int x = 0; x < w; ++x) {
          const int shift = 8 - bit_count * (x % per_byte + 1);
          to[x] = palette[(p[x / per_byte] >> shift) & index_mask];
        }
        break;
      }
      case 24:
        for (int x = 0; x < w; ++x, p += 3) to[x] = MakeColour(p[2], p[1], p[0]);
        break;
      case 16:
        for (int x = 0; x < w; ++x, p += 2) {
          const uint32_t v = LoadU16(p);
          to[x] = MakeColour(red.Of(v), green.Of(v), blue.Of(v));
        }
        break;
      default:  // 32
        for (int x = 0; x < w; ++x, p += 4) {
          const uint32_t v = LoadU32(p);
          to[x] = MakeColour(red.Of(v), green.Of(v), blue.Of(v));
        }
        break;
    }
  }
  *out = std::move(picture);
  return Status::Ok();
}

}  // namespace qm::decode
