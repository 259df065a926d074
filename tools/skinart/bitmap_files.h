// Windows bitmap and icon files, encoded in memory.
//
//   std::vector<uint8_t> bmp = EncodeIndexedBmp(image);          // 8 bits per pixel, 256 colours
//   std::vector<uint8_t> bmp = EncodeTrueColourBmp(picture);     // 24 bits per pixel
//   std::vector<uint8_t> bmp = EncodeMonochromeBmp(mask);        // 1 bit per pixel, black/white
//   std::vector<uint8_t> ico = EncodeIcon({image16, image32, image48});
//
// Bitmaps are BITMAPFILEHEADER + BITMAPINFOHEADER, uncompressed, bottom-up rows padded to four
// bytes, as the resource compiler takes them. Icons hold 32-bit images with alpha and the
// 1-bit AND mask older systems use.
#pragma once

#include <cstdint>
#include <vector>

#include "portrait/picture.h"

namespace qm::skinart {

// A 256-colour image: palette entries are colour values (red in the low byte).
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> palette;  // exactly 256 entries
  std::vector<uint8_t> indices;   // width x height, rows from the top
};

// One image of an icon: straight (not premultiplied) RGBA, rows from the top.
struct IconImage {
  int size = 0;
  std::vector<uint8_t> rgba;  // size x size x 4
};

std::vector<uint8_t> EncodeIndexedBmp(const IndexedImage& image);
std::vector<uint8_t> EncodeTrueColourBmp(const Picture& picture);
// White where the picture is white (kColourWhite), black elsewhere.
std::vector<uint8_t> EncodeMonochromeBmp(const Picture& picture);
std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images);

}  // namespace qm::skinart
