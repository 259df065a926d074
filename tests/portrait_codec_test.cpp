#include "portrait/portrait_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/byte_cursor.h"
#include "heroes/face_size.h"
#include "portrait/face_art.h"
#include "portrait/palette.h"
#include "tests/portrait_test_util.h"

namespace qm {
namespace {

// Header fields of an encoded image, read back for checks.
struct Header {
  uint32_t palette_count, top, bottom, right;
  size_t row_table;
};

Header ReadHeader(const std::vector<uint8_t>& image) {
  ByteReader r(image);
  Header h{};
  h.palette_count = r.ReadU16();
  r.Skip(2 + 3 * h.palette_count);
  r.Skip(r.ReadU16() + 1 + 4);
  h.top = r.ReadU32();
  h.right = r.ReadU32();
  h.bottom = r.ReadU32();
  h.row_table = r.position();
  return h;
}

struct RowEntry {
  uint16_t start, end;
  uint32_t offset;
};

RowEntry ReadRow(const std::vector<uint8_t>& image, int y) {
  ByteReader r(image, ReadHeader(image).row_table + 8 * static_cast<size_t>(y));
  RowEntry e{};
  e.start = r.ReadU16();
  e.end = r.ReadU16();
  e.offset = r.ReadU32();
  return e;
}

// A masked face of `colours` distinct colours, black among them (and in the corners).
Picture MaskedFace(int size, int colours) {
  Picture face(size, size);
  for (int i = 0; i < size * size; ++i) {
    const uint32_t k = static_cast<uint32_t>(i % colours);
    face.pixels()[static_cast<size_t>(i)] = k == 0 ? kColourBlack : MakeColour(k, 255 - k, k * 7);
  }
  const Picture mask = MakeFaceMask(size);
  for (size_t i = 0; i < face.pixels().size(); ++i) face.pixels()[i] &= mask.pixels()[i];
  return face;
}

TEST(PortraitPalette, ExactPaletteKeepsFirstOccurrenceOrderAndBlackGetsAnEntry) {
  Picture face(3, 1);
  face.at(0, 0) = MakeColour(9, 8, 7);
  face.at(1, 0) = kColourBlack;
  face.at(2, 0) = MakeColour(9, 8, 7);
  const Palette p = BuildPalette(face);
  EXPECT_EQ(p[0], kColourBlack);
  EXPECT_EQ(p[1], MakeColour(9, 8, 7));
  EXPECT_EQ(p[2], kColourBlack);  // black occurred, so it has its own entry
  EXPECT_EQ(NearestPaletteIndex(p, kColourBlack), 2);
}

TEST(PortraitPalette, OctreeAveragesCellsOfTheTopSixBitsInDepthFirstOrder) {
  // 256 distinct reds: the exact palette overflows; 64 cells of 4 reds each, no reduction.
  Picture face(16, 16);
  for (int i = 0; i < 256; ++i) face.pixels()[static_cast<size_t>(i)] = MakeColour(static_cast<uint32_t>(i), 0, 0);
  const Palette p = BuildPalette(face);
  EXPECT_EQ(p[0], kColourBlack);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(p[1 + k], MakeColour(4 * k + 1, 0, 0)) << k;  // (16k + 6) / 4
  for (int k = 65; k < 256; ++k) EXPECT_EQ(p[k], kColourBlack);
}

TEST(PortraitPalette, OctreeReducesTheNewestDeepestNodeWhenA256thLeafAppears) {
  // 256 cells (red 4i, green 4j): the last colour makes leaf 256. The newest level-5 node is the
  // one that groups i, j in {14, 15}; its four leaves merge into their average (58, 58).
  Picture face(16, 16);
  for (int i = 0; i < 16; ++i) {
    for (int j = 0; j < 16; ++j) face.at(j, i) = MakeColour(4u * i, 4u * j, 0);
  }
  const Palette p = BuildPalette(face);
  const std::set<uint32_t> colours(p.begin(), p.end());
  EXPECT_TRUE(colours.count(MakeColour(58, 58, 0)));
  EXPECT_FALSE(colours.count(MakeColour(56, 56, 0)));
  EXPECT_FALSE(colours.count(MakeColour(60, 60, 0)));
  EXPECT_TRUE(colours.count(MakeColour(52, 52, 0)));  // untouched neighbour cells
  EXPECT_TRUE(colours.count(MakeColour(60, 52, 0)));
  // 253 leaves fill entries 1 .. 253; the leaf of (0, 0) is black itself.
  EXPECT_NE(p[253], kColourBlack);
  EXPECT_EQ(p[254], kColourBlack);
  EXPECT_EQ(p[255], kColourBlack);
}

TEST(PortraitPalette, OctreeNeverExceeds255ColoursOnABusyFace) {
  const Picture face = test::PseudoRandomPicture(82, 82, 12345);
  const Palette p = BuildPalette(face);
  EXPECT_EQ(p[0], kColourBlack);
  std::vector<uint8_t> image;
  ASSERT_TRUE(EncodePortrait(face, "busy", &image));
  Picture back;
  ASSERT_TRUE(DecodePortrait(image, 82, &back));
  // Quantised, but every pixel stays near its colour.
  int worst = 0;
  for (size_t i = 0; i < face.pixels().size(); ++i) {
    for (int shift : {0, 8, 16}) {
      const int a = (face.pixels()[i] >> shift) & 0xFF, b = (back.pixels()[i] >> shift) & 0xFF;
      worst = std::max(worst, std::abs(a - b));
    }
  }
  EXPECT_LT(worst, 128);
}

TEST(PortraitPalette, NearestIndexWeighsGreenMostAndKeepsTheLowerIndexOnTies) {
  Palette p{};
  p[1] = MakeColour(10, 0, 0);
  p[2] = MakeColour(30, 0, 0);
  EXPECT_EQ(NearestPaletteIndex(p, MakeColour(20, 0, 0)), 1);  // equal distance: lower index
  p.fill(kColourBlack);
  p[4] = MakeColour(0, 0, 20);
  p[3] = MakeColour(0, 0, 20);
  for (int i = 5; i < 256; ++i) p[i] = kColourWhite;
  p[1] = p[2] = kColourWhite;
  EXPECT_EQ(NearestPaletteIndex(p, MakeColour(0, 0, 10)), 3);
  // Red 29, green 58, blue 14: a green step of 7 (2842) beats a red step of 10 (2900).
  p.fill(kColourWhite);
  p[1] = MakeColour(10, 0, 0);
  p[2] = MakeColour(0, 7, 0);
  EXPECT_EQ(NearestPaletteIndex(p, kColourBlack), 2);
  // Entry 0 is never chosen, even for black against an all-black palette.
  p.fill(kColourBlack);
  EXPECT_EQ(NearestPaletteIndex(p, kColourBlack), 1);
}

TEST(PortraitCodec, LargeFaceLayoutAndLengthRule) {
  const Picture face = MaskedFace(kLargeFaceSize, 200);
  std::vector<uint8_t> image;
  ASSERT_TRUE(EncodePortrait(face, "Mage1", &image));
  const Header h = ReadHeader(image);
  EXPECT_EQ(h.palette_count, 256u);
  EXPECT_EQ(h.top, 0u);
  EXPECT_EQ(h.right, 82u);
  EXPECT_EQ(h.bottom, 82u);
  EXPECT_EQ(image[2], 1);                    // format word
  EXPECT_EQ(image[4 + 768 + 2 + 5], 1);      // marker byte after the name
  size_t spans = 0;
  uint32_t expected_offset = 0;
  for (int y = 0; y < 82; ++y) {
    const RowEntry e = ReadRow(image, y);
    EXPECT_EQ(e.offset, expected_offset);
    // The span runs from the first to the last non-black pixel.
    int first = 0, last = 81;
    while (face.at(first, y) == kColourBlack) ++first;
    while (face.at(last, y) == kColourBlack) --last;
    EXPECT_EQ(e.start, first);
    EXPECT_EQ(e.end, last + 1);
    spans += e.end - e.start;
    expected_offset += e.end - e.start;
  }
  EXPECT_EQ(image.size(), 23 + 768 + 5 + 656 + spans);
  std::vector<uint8_t> bundle_tail = image;
  bundle_tail.insert(bundle_tail.end(), {1, 2, 3});
  EXPECT_EQ(PortraitImageLength(bundle_tail), image.size());
  EXPECT_EQ(PortraitImageName(image), "Mage1");
  // No index 0 in the pixel data.
  const size_t pixels = h.row_table + 8 * 82;
  EXPECT_EQ(std::count(image.begin() + static_cast<long>(pixels), image.end(), 0), 0);
}

TEST(PortraitCodec, RoundTripIsExactUpTo255ColoursWithBlackAmongThem) {
  for (const int size : {kLargeFaceSize, kSmallFaceSize}) {
    const Picture face = MaskedFace(size, 255);
    std::vector<uint8_t> image;
    ASSERT_TRUE(EncodePortrait(face, "k", &image));
    Picture back;
    ASSERT_TRUE(DecodePortrait(image, size, &back));
    EXPECT_EQ(back, face) << size;
  }
}

TEST(PortraitCodec, AllBlackRowIsStoredAsOnePixelAtTheLeft) {
  Picture face(4, 2);
  face.at(1, 1) = MakeColour(1, 2, 3);
  face.at(3, 1) = MakeColour(4, 5, 6);
  face.at(2, 1) = kColourBlack;  // a black pixel inside the span keeps its own index
  std::vector<uint8_t> image;
  ASSERT_TRUE(EncodePortrait(face, "", &image));
  EXPECT_EQ(ReadRow(image, 0).start, 0);
  EXPECT_EQ(ReadRow(image, 0).end, 1);
  EXPECT_EQ(ReadRow(image, 1).start, 1);
  EXPECT_EQ(ReadRow(image, 1).end, 4);
  EXPECT_EQ(ReadRow(image, 1).offset, 1u);
  Picture back;
  ASSERT_TRUE(DecodePortrait(image, 4, &back));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(back.at(x, y), face.at(x, y)) << x << "," << y;
  }
}

TEST(PortraitCodec, EncodeRefusesWhatTheFormatCannotHoldAndKeepsTheOldBuffer) {
  std::vector<uint8_t> image = {7, 7};
  EXPECT_FALSE(EncodePortrait(Picture(), "x", &image));
  EXPECT_FALSE(EncodePortrait(Picture(4, 4), std::string(70000, 'a'), &image));
  EXPECT_EQ(image, (std::vector<uint8_t>{7, 7}));
}

// A small valid image to damage: N palette entries, one name, rows given by hand.
std::vector<uint8_t> HandImage(uint16_t palette_count, uint32_t top, uint32_t bottom,
                               const std::vector<RowEntry>& rows, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> out;
  ByteWriter w(&out);
  w.WriteU16(palette_count);
  w.WriteU16(1);
  for (uint16_t i = 0; i < palette_count; ++i) {
    w.WriteU8(static_cast<uint8_t>(i));  // blue
    w.WriteU8(0);
    w.WriteU8(static_cast<uint8_t>(100 + i));  // red
  }
  w.WriteString("n");
  w.WriteU8(1);
  w.WriteU32(0);
  w.WriteU32(top);
  w.WriteU32(4);
  w.WriteU32(bottom);
  for (const RowEntry& e : rows) {
    w.WriteU16(e.start);
    w.WriteU16(e.end);
    w.WriteU32(e.offset);
  }
  w.WriteBytes(pixels.data(), pixels.size());
  return out;
}

TEST(PortraitCodec, DecodeOfAForeignImageWithTopBelowZeroUsesItsOwnRowTable) {
  // top 1, bottom 2: one stored row, painted at y 1; the rest takes entry 0 (red 100).
  const auto image = HandImage(3, 1, 2, {{1, 3, 0}}, {2, 1});
  Picture face;
  ASSERT_TRUE(DecodePortrait(image, 4, &face));
  EXPECT_EQ(face.at(0, 0), MakeColour(100, 0, 0));
  EXPECT_EQ(face.at(1, 1), MakeColour(102, 0, 2));
  EXPECT_EQ(face.at(2, 1), MakeColour(101, 0, 1));
  EXPECT_EQ(face.at(3, 1), MakeColour(100, 0, 0));
  EXPECT_EQ(PortraitImageLength(image), image.size());
}

TEST(PortraitCodec, DecodeRefusesImagesThatReachOutsidePaletteFaceOrBuffer) {
  struct Case {
    const char* what;
    std::vector<uint8_t> image;
    int size;
  };
  const Case cases[] = {
      {"palette over 256", HandImage(257, 0, 1, {{0, 1, 0}}, {1}), 4},
      {"index at palette count", HandImage(3, 0, 1, {{0, 2, 0}}, {1, 3}), 4},
      {"span end past width", HandImage(3, 0, 1, {{0, 5, 0}}, {1, 1, 1, 1, 1}), 4},
      {"span end before start", HandImage(3, 0, 1, {{3, 1, 0}}, {1}), 4},
      {"bottom past height", HandImage(3, 0, 5, {{0, 1, 0}, {0, 1, 1}, {0, 1, 2}, {0, 1, 3}, {0, 1, 4}},
                                       {1, 1, 1, 1, 1}), 4},
      {"no row", HandImage(3, 0, 0, {}, {}), 4},
      {"bottom below top", HandImage(3, 2, 1, {{0, 1, 0}}, {1}), 4},
      {"pixels past the end", HandImage(3, 0, 1, {{0, 2, 0}}, {1}), 4},
      {"offset past the end", HandImage(3, 0, 1, {{0, 1, 0xFFFFFFFF}}, {1}), 4},
      {"row table past the end", HandImage(3, 0, 3, {{0, 1, 0}}, {}), 4},
  };
  for (const Case& c : cases) {
    Picture face(2, 2, kColourWhite);
    EXPECT_FALSE(DecodePortrait(c.image, c.size, &face)) << c.what;
    EXPECT_FALSE(ValidatePortrait(c.image, c.size)) << c.what;
    EXPECT_EQ(face, Picture(2, 2, kColourWhite)) << c.what;  // untouched
  }
  EXPECT_FALSE(PortraitImageLength(HandImage(3, 0, 0, {}, {})).has_value());
  EXPECT_FALSE(PortraitImageLength(HandImage(3, 2, 1, {{0, 1, 0}}, {1})).has_value());
  EXPECT_FALSE(PortraitImageLength(HandImage(3, 0, 1, {{0, 1, 0xFFFFFFFF}}, {1})).has_value());
}

TEST(PortraitCodec, EveryTruncationOfAnImageIsRefused) {
  std::vector<uint8_t> image;
  ASSERT_TRUE(EncodePortrait(MaskedFace(kSmallFaceSize, 40), "Knight7", &image));
  for (size_t n = 0; n < image.size(); ++n) {
    const std::span<const uint8_t> cut(image.data(), n);
    Picture face;
    EXPECT_FALSE(DecodePortrait(cut, kSmallFaceSize, &face)) << n;
    EXPECT_FALSE(ValidatePortrait(cut, kSmallFaceSize)) << n;
    EXPECT_FALSE(PortraitImageLength(cut).has_value()) << n;
  }
  Picture face;
  EXPECT_FALSE(DecodePortrait(image, kSmallFaceSize - 1, &face));  // wider than that face
  EXPECT_TRUE(DecodePortrait(image, kLargeFaceSize, &face));        // fits in the larger one
  EXPECT_TRUE(ValidatePortrait(image, kSmallFaceSize));
}

}  // namespace
}  // namespace qm
