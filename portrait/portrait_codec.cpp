#include "portrait/portrait_codec.h"

#include <string>
#include <unordered_map>

#include "base/byte_cursor.h"
#include "portrait/palette.h"

namespace qm {
namespace {

constexpr uint16_t kFormatWord = 1;
constexpr uint8_t kMarkerByte = 1;
constexpr size_t kMaxSpanCoordinate = 0xFFFF;
constexpr size_t kRowEntryBytes = 8;

struct RowSpan {
  int start;
  int end;  // exclusive
};

// First to last non-black pixel; an all-black row keeps its first pixel.
RowSpan SpanOfRow(const Picture& face, int y) {
  const uint32_t* row = face.row(y);
  int start = 0;
  while (start < face.width() && row[start] == kColourBlack) ++start;
  if (start == face.width()) return {0, 1};
  int end = face.width();
  while (row[end - 1] == kColourBlack) --end;
  return {start, end};
}

}  // namespace

Status EncodePortrait(const Picture& face, std::string_view name, std::vector<uint8_t>* image) {
  if (face.empty()) return Status::Fail("face has no pixels");
  if (static_cast<size_t>(face.width()) > kMaxSpanCoordinate ||
      static_cast<size_t>(face.height()) > kMaxSpanCoordinate) {
    return Status::Fail("face larger than a portrait image can hold");
  }
  if (name.size() > 0xFFFF) return Status::Fail("name longer than a portrait image can hold");

  std::vector<uint8_t> out;
  ByteWriter w(&out);
  w.WriteU16(kPaletteSize);
  w.WriteU16(kFormatWord);
  const Palette palette = BuildPalette(face);
  for (const uint32_t colour : palette) {
    w.WriteU8(BlueOf(colour));
    w.WriteU8(GreenOf(colour));
    w.WriteU8(RedOf(colour));
  }
  w.WriteString(name);
  w.WriteU8(kMarkerByte);
  w.WriteU32(0);
  w.WriteU32(0);
  w.WriteU32(static_cast<uint32_t>(face.width()));
  w.WriteU32(static_cast<uint32_t>(face.height()));

  std::vector<RowSpan> spans(static_cast<size_t>(face.height()));
  uint32_t offset = 0;
  for (int y = 0; y < face.height(); ++y) {
    const RowSpan span = SpanOfRow(face, y);
    spans[static_cast<size_t>(y)] = span;
    w.WriteU16(static_cast<uint16_t>(span.start));
    w.WriteU16(static_cast<uint16_t>(span.end));
    w.WriteU32(offset);
    offset += static_cast<uint32_t>(span.end - span.start);
  }
  // A face repeats its colours: each one is looked up in the palette once.
  std::unordered_map<uint32_t, uint8_t> nearest;
  for (int y = 0; y < face.height(); ++y) {
    const RowSpan span = spans[static_cast<size_t>(y)];
    // An all-black row's one stored pixel is black (the face's own pixel 0 already is).
    for (int x = span.start; x < span.end; ++x) {
      const uint32_t colour = face.at(x, y);
      auto [it, added] = nearest.try_emplace(colour, 0);
      if (added) it->second = NearestPaletteIndex(palette, colour);
      w.WriteU8(it->second);
    }
  }
  *image = std::move(out);
  return Status::Ok();
}

namespace {

// Reads the palette and paints the rows' indices into a size x size scratch (0 outside every
// span), refusing anything that would reach outside the palette, the scratch or the image.
Status DecodeIndices(std::span<const uint8_t> image, int size, Palette* palette_out,
                     std::vector<uint8_t>* scratch_out) {
  if (size <= 0) return Status::Fail("no face size");
  ByteReader r(image);
  const uint32_t palette_count = r.ReadU16();
  if (palette_count > kPaletteSize) return Status::Fail("palette holds more than 256 colours");
  r.ReadU16();  // format word
  Palette palette;
  palette.fill(kColourBlack);
  for (uint32_t i = 0; i < palette_count; ++i) {
    const uint8_t blue = r.ReadU8(), green = r.ReadU8(), red = r.ReadU8();
    palette[i] = MakeColour(red, green, blue);
  }
  const uint16_t name_length = r.ReadU16();
  r.Skip(name_length);
  r.ReadU8();   // marker
  r.ReadU32();  // left
  const uint32_t top = r.ReadU32();
  r.ReadU32();  // right
  const uint32_t bottom = r.ReadU32();
  if (r.overrun()) return Status::Fail("portrait image cut short in its header");
  if (bottom <= top) return Status::Fail("portrait image stores no row");
  if (bottom > static_cast<uint32_t>(size)) return Status::Fail("portrait image taller than the face");
  const size_t rows = bottom - top;
  const size_t row_table = r.position();
  if (r.remaining() / kRowEntryBytes < rows) return Status::Fail("portrait row table cut short");
  const size_t pixel_data = row_table + rows * kRowEntryBytes;
  const size_t pixel_bytes = image.size() - pixel_data;

  const size_t side = static_cast<size_t>(size);
  std::vector<uint8_t> scratch(side * side, 0);
  for (size_t k = 0; k < rows; ++k) {
    ByteReader entry(image, row_table + k * kRowEntryBytes);
    const uint16_t start = entry.ReadU16();
    const uint16_t end = entry.ReadU16();
    const uint32_t offset = entry.ReadU32();
    if (end < start) return Status::Fail("portrait row span ends before it starts");
    if (end > side) return Status::Fail("portrait row span wider than the face");
    const size_t length = end - start;
    if (offset > pixel_bytes || length > pixel_bytes - offset) {
      return Status::Fail("portrait row pixels past the end of the image");
    }
    const uint8_t* source = image.data() + pixel_data + offset;
    uint8_t* target = scratch.data() + (top + k) * side + start;
    for (size_t i = 0; i < length; ++i) {
      if (source[i] >= palette_count) return Status::Fail("portrait pixel outside the palette");
      target[i] = source[i];
    }
  }

  *palette_out = palette;
  *scratch_out = std::move(scratch);
  return Status::Ok();
}

}  // namespace

Status DecodePortrait(std::span<const uint8_t> image, int size, Picture* face) {
  Palette palette;
  std::vector<uint8_t> scratch;
  if (Status s = DecodeIndices(image, size, &palette, &scratch); !s) return s;
  Picture painted(size, size);
  for (size_t i = 0; i < scratch.size(); ++i) painted.pixels()[i] = palette[scratch[i]];
  *face = std::move(painted);
  return Status::Ok();
}

Status ValidatePortrait(std::span<const uint8_t> image, int size) {
  Palette palette;
  std::vector<uint8_t> scratch;
  return DecodeIndices(image, size, &palette, &scratch);
}

std::optional<size_t> PortraitImageLength(std::span<const uint8_t> data) {
  ByteReader r(data);
  const uint64_t palette_count = r.ReadU16();
  r.ReadU16();
  r.Skip(static_cast<size_t>(palette_count) * 3);
  const uint64_t name_length = r.ReadU16();
  r.Skip(static_cast<size_t>(name_length));
  r.ReadU8();
  r.ReadU32();
  const uint32_t top = r.ReadU32();
  r.ReadU32();
  const uint32_t bottom = r.ReadU32();
  if (r.overrun() || bottom <= top) return std::nullopt;
  const uint64_t rows = bottom - top;
  const uint64_t last_entry = r.position() + (rows - 1) * kRowEntryBytes;
  if (last_entry > data.size() || data.size() - last_entry < kRowEntryBytes) return std::nullopt;
  ByteReader entry(data, static_cast<size_t>(last_entry));
  const uint16_t start = entry.ReadU16();
  const uint16_t end = entry.ReadU16();
  const uint64_t offset = entry.ReadU32();
  if (end < start) return std::nullopt;
  const uint64_t length =
      23 + 3 * palette_count + name_length + kRowEntryBytes * rows + offset + (end - start);
  if (length > data.size()) return std::nullopt;
  return static_cast<size_t>(length);
}

std::optional<std::string_view> PortraitImageName(std::span<const uint8_t> image) {
  ByteReader r(image);
  const size_t palette_count = r.ReadU16();
  r.ReadU16();
  r.Skip(palette_count * 3);
  const size_t name_length = r.ReadU16();
  const size_t at = r.position();
  if (r.overrun() || !r.Skip(name_length)) return std::nullopt;
  return std::string_view(reinterpret_cast<const char*>(image.data() + at), name_length);
}

}  // namespace qm
