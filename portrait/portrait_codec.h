// Portrait image codec: the game's self-contained 256-colour face record.
//
//   std::vector<uint8_t> image;
//   Status s = EncodePortrait(face, "Keyword", &image);          // face: 82x82 or 52x52
//   Picture shown;
//   s = DecodePortrait(image, FaceSize(FaceKind::kLarge), &shown);
//   s = ValidatePortrait(image, FaceSize(FaceKind::kLarge));     // the same checks, no pixels
//   std::optional<size_t> n = PortraitImageLength(bundle_rest);   // walking a bundle
//   std::optional<PortraitImageInfo> i = ReadPortraitImageInfo(bundle_rest);  // length and name
//
// Image layout (little-endian): palette count N (16-bit, written 256), format word (written 1),
// N palette entries of blue, green, red; the name as a 16-bit length and its bytes; a marker
// byte (1); left, top, right, bottom (32-bit: 0, 0, width, height); one 8-byte row entry per
// stored row (span start 16-bit, span end 16-bit exclusive, pixel offset 32-bit counted from
// the start of the pixel data); then one palette index per pixel of each span, rows back to
// back. Pixels outside a row's span are palette entry 0, which the encoder keeps black and
// never writes as an index.
//
// EncodePortrait stores each row's run from its first to its last non-black pixel; a row that
// is black from end to end is stored as the one pixel at x 0. It fails (leaving *image as it
// was) for a face without pixels, a face wider or taller than 65,535 pixels, or a name longer
// than 65,535 bytes, none of which the format can hold.
//
// DecodePortrait paints an image into a size x size picture (pixels outside every span take
// palette entry 0). Images are hostile input: it fails, leaving *face as it was, for anything
// that would reach outside the palette, the face or the image: a palette count above 256, a
// field past the end, a bottom below the top or past the face, no stored row, a span that
// ends before it starts or past the face width, pixel bytes past the end, or an index at or
// above the palette count. Row y of the face takes the row entry y - top, so an image whose
// top is not 0 (the system never writes one) still reads only its own row table.
//
// PortraitImageLength gives the length of the image that starts at data[0], computed from the
// header and the last row entry (23 + 3N + M + 8R + that row's offset + its span length), the
// way a bundle is walked. nullopt when a field lies past the end of data, there is no row
// (R of 0 or bottom below top), the last span ends before it starts, or the length reaches
// past the end of data. ReadPortraitImageInfo gives that length and the image's name together,
// from one read of the header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "portrait/picture.h"

namespace qm {

Status EncodePortrait(const Picture& face, std::string_view name, std::vector<uint8_t>* image);
Status DecodePortrait(std::span<const uint8_t> image, int size, Picture* face);
// The checks of DecodePortrait without painting: Ok exactly when DecodePortrait would succeed.
Status ValidatePortrait(std::span<const uint8_t> image, int size);
std::optional<size_t> PortraitImageLength(std::span<const uint8_t> data);

struct PortraitImageInfo {
  size_t length = 0;
  std::string_view name;  // a view into the data
};
// nullopt exactly when PortraitImageLength is.
std::optional<PortraitImageInfo> ReadPortraitImageInfo(std::span<const uint8_t> data);

// The name stored in an image (its hero's keyword); nullopt when the header is cut short.
std::optional<std::string_view> PortraitImageName(std::span<const uint8_t> image);

}  // namespace qm
