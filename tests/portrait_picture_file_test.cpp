#include "portrait/picture_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "tests/portrait_test_util.h"
#include "tests/test_util.h"

namespace qm {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes* out, std::initializer_list<uint8_t> bytes) {
  for (const uint8_t b : bytes) out->push_back(b);
}
void AppendBigEndian32(Bytes* out, uint32_t v) {
  Append(out, {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

uint32_t Crc32(const uint8_t* data, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void AppendPngChunk(Bytes* png, const char* type, const Bytes& data) {
  AppendBigEndian32(png, static_cast<uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png->insert(png->end(), body.begin(), body.end());
  AppendBigEndian32(png, Crc32(body.data(), body.size()));
}

// A one-row RGBA PNG, its image data in one stored (uncompressed) deflate block.
Bytes RgbaPng(const std::vector<std::array<uint8_t, 4>>& pixels) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  AppendBigEndian32(&header, static_cast<uint32_t>(pixels.size()));
  AppendBigEndian32(&header, 1);
  Append(&header, {8, 6, 0, 0, 0});  // 8 bits, RGBA
  AppendPngChunk(&png, "IHDR", header);
  Bytes raw = {0};  // filter: none
  for (const auto& p : pixels) raw.insert(raw.end(), p.begin(), p.end());
  uint32_t a = 1, b = 0;
  for (const uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  const uint16_t n = static_cast<uint16_t>(raw.size());
  Bytes zlib = {0x78, 0x01, 0x01, uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)};
  zlib.insert(zlib.end(), raw.begin(), raw.end());
  AppendBigEndian32(&zlib, (b << 16) | a);
  AppendPngChunk(&png, "IDAT", zlib);
  AppendPngChunk(&png, "IEND", {});
  return png;
}

// A 2 x 1 GIF: a red pixel and a pixel of colour 1 (blue), which is marked transparent.
Bytes TransparentGif(uint16_t screen_width = 2, uint16_t screen_height = 1) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  Append(&gif, {uint8_t(screen_width), uint8_t(screen_width >> 8), uint8_t(screen_height),
                uint8_t(screen_height >> 8), 0x80, 0, 0});
  Append(&gif, {255, 0, 0, 0, 0, 255});                  // global colours: red, blue
  Append(&gif, {0x21, 0xF9, 4, 0x01, 0, 0, 1, 0});       // transparent index 1
  Append(&gif, {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0});       // image 2 x 1
  Append(&gif, {2, 2, 0x44, 0x0A, 0, 0x3B});             // LZW: clear, 0, 1, end
  return gif;
}

const Bytes kRedJpeg = {
      0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01,
      0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43,
      0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x01, 0x01, 0x01, 0x02,
      0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
      0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06,
      0x07, 0x09, 0x08, 0x06, 0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08,
      0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08, 0x0b, 0x0c, 0x0b, 0x0a,
      0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x02, 0x02,
      0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07,
      0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
      0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
      0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
      0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
      0x0a, 0x0a, 0xff, 0xc0, 0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03,
      0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xff, 0xc4, 0x00,
      0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10,
      0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00, 0x15, 0x01, 0x01, 0x01,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03,
      0x11, 0x00, 0x3f, 0x00, 0x13, 0x14, 0x71, 0xff, 0xd9
};

TEST(PictureFile, GifTransparencyTakesTheFillColourOrWhite) {
  Picture p;
  ASSERT_TRUE(DecodePictureBytes(TransparentGif(), true, kTransparentColour, &p));
  ASSERT_EQ(p.width(), 2);
  ASSERT_EQ(p.height(), 1);
  EXPECT_EQ(p.at(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(p.at(1, 0), kTransparentColour);
  ASSERT_TRUE(DecodePictureBytes(TransparentGif(), false, kTransparentColour, &p));
  EXPECT_EQ(p.at(1, 0), kColourWhite);
}

TEST(PictureFile, PngAlphaBelowHalfIsTransparent) {
  const Bytes png = RgbaPng({{10, 20, 30, 255}, {1, 2, 3, 127}, {4, 5, 6, 128}, {7, 8, 9, 0}});
  Picture p;
  ASSERT_TRUE(DecodePictureBytes(png, true, kTransparentColour, &p));
  EXPECT_EQ(p.at(0, 0), MakeColour(10, 20, 30));
  EXPECT_EQ(p.at(1, 0), kTransparentColour);
  EXPECT_EQ(p.at(2, 0), MakeColour(4, 5, 6));
  EXPECT_EQ(p.at(3, 0), kTransparentColour);
  ASSERT_TRUE(DecodePictureBytes(png, false, 0, &p));
  EXPECT_EQ(p.at(1, 0), kColourWhite);
}

TEST(PictureFile, JpegLoads) {
  Picture p;
  ASSERT_TRUE(DecodePictureBytes(kRedJpeg, true, kTransparentColour, &p));
  ASSERT_EQ(p.width(), 8);
  for (const uint32_t px : p.pixels()) {
    EXPECT_NEAR(RedOf(px), 0xC8, 3);
    EXPECT_NEAR(GreenOf(px), 0x32, 3);
    EXPECT_NEAR(BlueOf(px), 0x64, 3);
  }
}

// kRedJpeg with `segment` inserted right after its start marker.
Bytes JpegWith(const Bytes& segment) {
  Bytes jpeg = {kRedJpeg[0], kRedJpeg[1]};
  for (const uint8_t b : segment) jpeg.push_back(b);
  for (size_t i = 2; i < kRedJpeg.size(); ++i) jpeg.push_back(kRedJpeg[i]);
  return jpeg;
}

TEST(PictureFile, JpegHuffmanTableWithMoreThan256CodesIsRefused) {
  // DHT: class 0, table 0, code counts adding up to 16 x 200 codes.
  Bytes dht = {0xFF, 0xC4, 0x00, 0x13, 0x00};
  for (int i = 0; i < 16; ++i) dht.push_back(200);
  Picture p;
  const Status s = DecodePictureBytes(JpegWith(dht), false, 0, &p);
  EXPECT_FALSE(s);
  EXPECT_NE(s.why().find("Huffman"), std::string::npos) << s.why();
  // The same bytes inside application data are not a table: the picture loads.
  Bytes app = {0xFF, 0xE1, 0x00, static_cast<uint8_t>(2 + dht.size())};
  for (const uint8_t b : dht) app.push_back(b);
  EXPECT_TRUE(DecodePictureBytes(JpegWith(app), false, 0, &p));
  // After the first scan every 0xFF 0xC4 counts, since the decoder may resynchronise there.
  Bytes tail(kRedJpeg.begin(), kRedJpeg.end() - 2);
  for (const uint8_t b : dht) tail.push_back(b);
  tail.push_back(0xFF);
  tail.push_back(0xD9);
  EXPECT_FALSE(DecodePictureBytes(tail, false, 0, &p));
  // Fill bytes before the start-of-image marker still make a JPEG to the decoder.
  Bytes filled(4, 0xFF);
  for (const uint8_t b : JpegWith(dht)) filled.push_back(b);
  const Status f = DecodePictureBytes(filled, false, 0, &p);
  EXPECT_FALSE(f);
  EXPECT_NE(f.why().find("Huffman"), std::string::npos) << f.why();
  Bytes red_filled(2, 0xFF);
  for (const uint8_t b : kRedJpeg) red_filled.push_back(b);
  EXPECT_TRUE(DecodePictureBytes(red_filled, false, 0, &p));
}

TEST(PictureFile, PngAndBmpWrittenAndReadBackUnchanged) {
  test::TempDir dir;
  const Picture picture = test::PseudoRandomPicture(13, 7, 99);
  for (const char* name : {"out.png", "OUT.BMP"}) {
    const std::string path = dir.File(name);
    ASSERT_TRUE(WritePictureFile(path, picture)) << name;
    Picture back;
    ASSERT_TRUE(LoadPictureFile(path, false, 0, &back)) << name;
    EXPECT_EQ(back, picture) << name;
  }
  EXPECT_EQ(test::ReadFileBytes(dir.File("out.png"))[1], 'P');
  EXPECT_EQ(test::ReadFileBytes(dir.File("OUT.BMP"))[0], 'B');
}

TEST(PictureFile, FailedWritesLeaveNothingBehind) {
  test::TempDir dir;
  const Picture picture(4, 4, kColourWhite);
  const Status wrong_type = WritePictureFile(dir.File("out.jpg"), picture);
  EXPECT_FALSE(wrong_type);
  EXPECT_NE(wrong_type.why().find("unknown picture type"), std::string::npos);
  EXPECT_FALSE(WritePictureFile(dir.File("missing/out.png"), picture));
  EXPECT_FALSE(WritePictureFile(dir.File("empty.png"), Picture()));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  // An existing file survives a failed write.
  test::WriteFileText(dir.File("keep.png"), "old");
  EXPECT_FALSE(WritePictureFile(dir.File("keep.png"), Picture()));
  EXPECT_EQ(test::ReadFileBytes(dir.File("keep.png")), test::Bytes("old"));
}

TEST(PictureFile, WhatIsNotAPictureFailsWithTheReasonAndLeavesTheOutputAlone) {
  test::TempDir dir;
  test::WriteFileText(dir.File("notes.jpg"), "these are not pixels");
  const Picture before(1, 1, MakeColour(1, 2, 3));
  Picture p = before;
  const Status s = LoadPictureFile(dir.File("notes.jpg"), false, 0, &p);
  EXPECT_FALSE(s);
  EXPECT_NE(s.why().find("not a picture"), std::string::npos) << s.why();
  EXPECT_NE(s.why().find("notes.jpg"), std::string::npos) << s.why();
  EXPECT_FALSE(LoadPictureFile(dir.File("absent.gif"), false, 0, &p));
  test::WriteFileBytes(dir.File("empty.bmp"), {});
  EXPECT_FALSE(LoadPictureFile(dir.File("empty.bmp"), false, 0, &p));
  EXPECT_EQ(p, before);
}

TEST(PictureFile, DamagedOrOversizedPicturesFail) {
  Picture p;
  const Bytes png = RgbaPng({{1, 2, 3, 255}, {4, 5, 6, 255}});
  for (size_t n = 0; n + 12 < png.size(); n += 3) {  // cut before the end chunk
    EXPECT_FALSE(DecodePictureBytes(Bytes(png.begin(), png.begin() + static_cast<long>(n)), false, 0, &p)) << n;
  }
  for (size_t n = 0; n + 2 < kRedJpeg.size(); n += 5) {  // may decode a cut picture; must not crash
    static_cast<void>(DecodePictureBytes(Bytes(kRedJpeg.begin(), kRedJpeg.begin() + static_cast<long>(n)), false, 0, &p));
  }
  Bytes corrupt = png;
  corrupt[41] = 0;  // the image data's zlib header
  EXPECT_FALSE(DecodePictureBytes(corrupt, false, 0, &p));
  const Status huge = DecodePictureBytes(TransparentGif(9000, 9000), false, 0, &p);
  EXPECT_FALSE(huge);
  EXPECT_NE(huge.why().find("too large"), std::string::npos) << huge.why();
}

}  // namespace
}  // namespace qm
