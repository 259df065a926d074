#include "tools/skinart/bitmap_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qm::skinart {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

TEST(BitmapFiles, IndexedBitmapHasPaletteBottomUpRowsAndPadding) {
  IndexedImage image;
  image.width = 3;
  image.height = 2;
  image.palette.assign(256, 0);
  image.palette[1] = MakeColour(10, 20, 30);
  image.indices = {1, 2, 3,   // top row
                   4, 5, 6};  // bottom row
  const std::vector<uint8_t> bmp = EncodeIndexedBmp(image);
  const size_t bits = 14 + 40 + 256 * 4;
  ASSERT_EQ(bmp.size(), bits + 2 * 4);  // rows padded to 4 bytes
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), bits);
  EXPECT_EQ(U32(bmp, 14), 40u);
  EXPECT_EQ(U32(bmp, 18), 3u);
  EXPECT_EQ(U32(bmp, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(U16(bmp, 28), 8u);
  EXPECT_EQ(U32(bmp, 46), 256u);
  // Palette entries are blue, green, red, 0.
  EXPECT_EQ(bmp[54 + 4], 30);
  EXPECT_EQ(bmp[54 + 5], 20);
  EXPECT_EQ(bmp[54 + 6], 10);
  EXPECT_EQ(bmp[54 + 7], 0);
  const std::vector<uint8_t> rows(bmp.begin() + static_cast<ptrdiff_t>(bits), bmp.end());
  EXPECT_EQ(rows, (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(BitmapFiles, TrueColourBitmapStoresBlueGreenRed) {
  Picture p(2, 1);
  p.at(0, 0) = MakeColour(1, 2, 3);
  p.at(1, 0) = MakeColour(4, 5, 6);
  const std::vector<uint8_t> bmp = EncodeTrueColourBmp(p);
  ASSERT_EQ(bmp.size(), 54u + 8u);
  EXPECT_EQ(U16(bmp, 28), 24u);
  EXPECT_EQ(U32(bmp, 46), 0u);  // no palette
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(BitmapFiles, MonochromeBitmapSetsBitsForWhiteMostSignificantFirst) {
  Picture p(10, 2, kColourBlack);
  p.at(0, 0) = kColourWhite;
  p.at(9, 0) = kColourWhite;
  p.at(1, 1) = MakeColour(254, 255, 255);  // not exactly white: stays black
  const std::vector<uint8_t> bmp = EncodeMonochromeBmp(p);
  const size_t bits = 14 + 40 + 2 * 4;
  ASSERT_EQ(bmp.size(), bits + 2 * 4);
  EXPECT_EQ(U16(bmp, 28), 1u);
  EXPECT_EQ(U32(bmp, 54), 0u);           // entry 0 black
  EXPECT_EQ(U32(bmp, 58), 0x00FFFFFFu);  // entry 1 white
  // Bottom row first (all black), then the top row: bits 0 and 9.
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + static_cast<ptrdiff_t>(bits), bmp.end()),
            (std::vector<uint8_t>{0, 0, 0, 0, 0x80, 0x40, 0, 0}));
}

TEST(BitmapFiles, IconHasOneEntryPerImageWithColourAndMaskRows) {
  std::vector<IconImage> images;
  for (int size : {16, 32}) {
    IconImage image{size, std::vector<uint8_t>(static_cast<size_t>(size * size * 4), 0)};
    image.rgba[3] = 255;  // top-left pixel opaque
    images.push_back(image);
  }
  const std::vector<uint8_t> ico = EncodeIcon(images);
  EXPECT_EQ(U16(ico, 0), 0u);
  EXPECT_EQ(U16(ico, 2), 1u);
  ASSERT_EQ(U16(ico, 4), 2u);
  size_t expected_offset = 6 + 2 * 16;
  for (size_t i = 0; i < 2; ++i) {
    const size_t entry = 6 + 16 * i;
    const int size = images[i].size;
    EXPECT_EQ(ico[entry], size);
    EXPECT_EQ(U16(ico, entry + 6), 32u);
    const uint32_t bytes = U32(ico, entry + 8);
    const uint32_t mask_stride = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
    EXPECT_EQ(bytes, 40u + static_cast<uint32_t>(size * size * 4) + mask_stride * static_cast<uint32_t>(size));
    ASSERT_EQ(U32(ico, entry + 12), expected_offset);
    EXPECT_EQ(U32(ico, expected_offset + 8), static_cast<uint32_t>(2 * size));  // colour + mask
    // AND mask of the top row (stored last): the opaque top-left pixel is 0, the rest 1.
    const size_t top_mask_row = expected_offset + bytes - mask_stride;
    EXPECT_EQ(ico[top_mask_row], 0x7F);
    expected_offset += bytes;
  }
  EXPECT_EQ(ico.size(), expected_offset);
}

TEST(BitmapFiles, MismatchedSizesAreRefused) {
  IndexedImage image;
  image.width = 2;
  image.height = 2;
  image.palette.assign(256, 0);
  image.indices = {0, 1, 2};
  EXPECT_THROW(EncodeIndexedBmp(image), std::invalid_argument);
  EXPECT_THROW(EncodeIcon({IconImage{16, std::vector<uint8_t>(10)}}), std::invalid_argument);
  EXPECT_THROW(EncodeTrueColourBmp(Picture()), std::invalid_argument);
}

}  // namespace
}  // namespace qm::skinart
