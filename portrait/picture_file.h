// Picture files for the host tool: load JPEG, GIF, BMP and PNG into a picture, write PNG and
// BMP.
//
//   Picture picture;
//   Status s = LoadPictureFile("face.gif", /*fill_transparent=*/true, kTransparentColour,
//                              &picture);
//   s = WritePictureFile("out.png", picture);   // the format follows the extension
//
// Loading gives a 24-bit picture. Transparent pixels (a GIF's transparent colour, PNG pixels
// with alpha below 128) take `fill_colour` when `fill_transparent` is set, else white, as if
// the picture were drawn onto a canvas of that colour; other pixels keep their colour (a PNG's
// partial alpha of 128 or more is ignored), and any alpha of BMP and JPEG is ignored. An
// animated GIF gives its first frame. A file that cannot be read, is not one of the four
// formats, is damaged, or holds more than kMaxPicturePixels pixels fails with the reason; *out
// is then unchanged.
//
// Writing picks PNG or BMP by the path's extension (ASCII case folded), writes a temporary file
// beside the target and puts it in place only when every byte was written, so a failed write
// leaves an existing file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/status.h"
#include "portrait/picture.h"

namespace qm {

// 8192 x 8192: large enough for camera pictures, small enough for the 32-bit build's memory.
constexpr size_t kMaxPicturePixels = size_t{1} << 26;

Status LoadPictureFile(const std::string& path, bool fill_transparent, uint32_t fill_colour,
                       Picture* out);
Status DecodePictureBytes(std::span<const uint8_t> bytes, bool fill_transparent,
                          uint32_t fill_colour, Picture* out);

enum class PictureFormat { kPng, kBmp };

Status EncodePicture(const Picture& picture, PictureFormat format, std::vector<uint8_t>* out);
Status WritePictureFile(const std::string& path, const Picture& picture);

}  // namespace qm
