// Picture files: load JPEG, GIF, BMP and PNG into a picture, write PNG and BMP. qlmk and the
// bulk import load every picture here; the editor comes here for PNG and for files the
// platform's decoder refuses.
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
// animated GIF gives its first frame; pixels of the GIF's canvas that the first frame does not
// cover count as transparent. A file that cannot be read, is not one of the four formats, is
// damaged or cut short, or holds more than kMaxPicturePixels pixels fails with the reason; *out
// is then unchanged. Nothing of the picture's size is allocated before the file's structure
// was checked, and a file is read piece by piece, never held in memory beside its pixels.
//
// A caller that shrinks the picture anyway may pass a ReducedDecode: a JPEG is then decoded by
// the decoder's own scaling at 1/8, 1/4 or 1/2 of its size (each side rounded up), the smallest
// for which `enough` still holds, else at full size; that takes a fraction of the time and
// memory. Each reduced pixel is its block's average (taken from the block's lowest
// frequencies), so the picture the resize method then works on is a smoothed one: its result is
// close to, but not the same bits as, the resize of the full-size decode, and nearer the
// picture's true average colours. Other formats, and the Windows build, always decode at full
// size.
//
// Writing picks PNG or BMP by the path's extension (ASCII case folded), writes a temporary file
// beside the target and puts it in place only when every byte was written, so a failed write
// leaves an existing file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/status.h"
#include "heroes/face_size.h"
#include "portrait/face_fit.h"
#include "portrait/picture.h"

namespace qm {

// 8192 x 8192: large enough for camera pictures, small enough for the 32-bit build's memory.
constexpr size_t kMaxPicturePixels = size_t{1} << 26;

// Reducing decodes take at least this much detail: the picture, as the caller crops it, keeps
// twice the size it is shrunk to, so every resize method still has a reduction of its own to
// make and keeps its look.
constexpr int kReducedDetail = 2;

struct ReducedDecode {
  // Whether a picture of this size still holds what the caller needs. Empty: never reduce.
  std::function<bool(int width, int height)> enough;
  // Set by the load: the picture's size in the file and the divisor applied (1, 2, 4 or 8).
  int file_width = 0;
  int file_height = 0;
  int divisor = 1;
};

// Whether a picture of width x height keeps kReducedDetail times target_width x target_height.
bool KeepsDetailFor(int width, int height, int target_width, int target_height);
// For a picture stretched whole to width x height.
ReducedDecode ReducedForSize(int width, int height);
// For a picture put into the face of `kind` with `options`: its crop keeps the detail.
ReducedDecode ReducedForFace(const FaceOptions& options, FaceKind kind);

Status LoadPictureFile(const std::string& path, bool fill_transparent, uint32_t fill_colour, Picture* out,
                       ReducedDecode* reduce = nullptr);
Status DecodePictureBytes(std::span<const uint8_t> bytes, bool fill_transparent, uint32_t fill_colour, Picture* out,
                          ReducedDecode* reduce = nullptr);

enum class PictureFormat { kPng, kBmp };

Status EncodePicture(const Picture& picture, PictureFormat format, std::vector<uint8_t>* out);
Status WritePictureFile(const std::string& path, const Picture& picture);

}  // namespace qm
