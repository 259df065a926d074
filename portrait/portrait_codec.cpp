#include "portrait/portrait_codec.h"

#include <optional>
#include <string>
#include <string_view>
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

// The fields of an image up to its row table, read once for every use.
struct ImageHeader {
  uint32_t palette_count = 0;
  std::span<const uint8_t> palette;      // blue, green, red per entry
  std::optional<std::string_view> name;  // nullopt when the data ends before it does
  uint32_t top = 0;
  uint32_t bottom = 0;    // one past the last stored row
  size_t row_table = 0;   // offset of the first row entry
  bool complete = false;  // false when the data ends inside the header
  size_t rows() const { return bottom - top; }
};

ImageHeader ReadImageHeader(std::span<const uint8_t> image) {
  ImageHeader h;
  ByteReader r(image);
  h.palette_count = r.ReadU16();
  r.ReadU16();  // format word
  h.palette = r.ReadSpan(size_t{3} * h.palette_count);
  const std::string_view name = r.ReadChars(r.ReadU16());
  if (!r.overrun()) h.name = name;
  r.ReadU8();   // marker
  r.ReadU32();  // left
  h.top = r.ReadU32();
  r.ReadU32();  // right
  h.bottom = r.ReadU32();
  h.row_table = r.position();
  h.complete = !r.overrun();
  return h;
}

// Reads the palette and paints the rows' indices into a size x size scratch (0 outside every
// span), refusing anything that would reach outside the palette, the scratch or the image.
Status DecodeIndices(std::span<const uint8_t> image, int size, Palette* palette_out,
                     std::vector<uint8_t>* scratch_out) {
  if (size <= 0) return Status::Fail("no face size");
  const ImageHeader h = ReadImageHeader(image);
  if (h.palette_count > kPaletteSize) return Status::Fail("palette holds more than 256 colours");
  if (!h.complete) return Status::Fail("portrait image cut short in its header");
  if (h.bottom <= h.top) return Status::Fail("portrait image stores no row");
  if (h.bottom > static_cast<uint32_t>(size)) return Status::Fail("portrait image taller than the face");
  ByteReader rows(image, h.row_table);
  if (rows.remaining() / kRowEntryBytes < h.rows()) return Status::Fail("portrait row table cut short");
  const size_t pixel_data = h.row_table + h.rows() * kRowEntryBytes;
  const std::span<const uint8_t> pixels = image.subspan(pixel_data);

  Palette palette;
  palette.fill(kColourBlack);
  ByteReader entries(h.palette);
  for (uint32_t i = 0; i < h.palette_count; ++i) {
    const uint8_t blue = entries.ReadU8(), green = entries.ReadU8(), red = entries.ReadU8();
    palette[i] = MakeColour(red, green, blue);
  }

  const size_t side = static_cast<size_t>(size);
  std::vector<uint8_t> scratch(side * side, 0);
  for (size_t k = 0; k < h.rows(); ++k) {
    const uint16_t start = rows.ReadU16();
    const uint16_t end = rows.ReadU16();
    const uint32_t offset = rows.ReadU32();
    if (end < start) return Status::Fail("portrait row span ends before it starts");
    if (end > side) return Status::Fail("portrait row span wider than the face");
    ByteReader row_pixels(pixels, offset);
    const std::span<const uint8_t> source = row_pixels.ReadSpan(end - start);
    if (row_pixels.overrun()) return Status::Fail("portrait row pixels past the end of the image");
    uint8_t* target = scratch.data() + (h.top + k) * side + start;
    for (size_t i = 0; i < source.size(); ++i) {
      if (source[i] >= h.palette_count) return Status::Fail("portrait pixel outside the palette");
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

std::optional<PortraitImageInfo> ReadPortraitImageInfo(std::span<const uint8_t> data) {
  const ImageHeader h = ReadImageHeader(data);
  if (!h.complete || h.bottom <= h.top) return std::nullopt;
  // The rows lie back to back, so the image ends with the last row's pixels.
  const uint64_t last_entry = h.row_table + uint64_t{h.rows() - 1} * kRowEntryBytes;
  if (last_entry > data.size()) return std::nullopt;
  ByteReader entry(data, static_cast<size_t>(last_entry));
  const uint16_t start = entry.ReadU16();
  const uint16_t end = entry.ReadU16();
  const uint64_t offset = entry.ReadU32();
  if (entry.overrun() || end < start) return std::nullopt;
  const uint64_t length = h.row_table + kRowEntryBytes * uint64_t{h.rows()} + offset + (end - start);
  if (length > data.size()) return std::nullopt;
  return PortraitImageInfo{static_cast<size_t>(length), *h.name};
}

std::optional<size_t> PortraitImageLength(std::span<const uint8_t> data) {
  const std::optional<PortraitImageInfo> info = ReadPortraitImageInfo(data);
  if (!info) return std::nullopt;
  return info->length;
}

std::optional<std::string_view> PortraitImageName(std::span<const uint8_t> image) {
  return ReadImageHeader(image).name;
}

}  // namespace qm
