#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>

#include "base/file.h"
#include "portrait/picture_file.h"
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

struct PngChunk {
  const char* type;
  Bytes data;
};

// A PNG whose image data `raw` (filter bytes included) is one stored (uncompressed) deflate
// block; `before` go between the header and the image data.
Bytes MakePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colour_type, const Bytes& raw,
              bool interlaced = false, const std::vector<PngChunk>& before = {}) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  AppendBigEndian32(&header, width);
  AppendBigEndian32(&header, height);
  Append(&header, {depth, colour_type, 0, 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
  AppendPngChunk(&png, "IHDR", header);
  for (const PngChunk& c : before) AppendPngChunk(&png, c.type, c.data);
  uint32_t a = 1, b = 0;
  for (const uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  Bytes zlib = {0x78, 0x01};
  for (size_t at = 0; at < raw.size() || at == 0;) {
    const uint16_t n = static_cast<uint16_t>(std::min<size_t>(raw.size() - at, 65535));
    const bool last = at + n == raw.size();
    Append(&zlib, {uint8_t(last ? 1 : 0), uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
    zlib.insert(zlib.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
    at += n;
    if (last) break;
  }
  AppendBigEndian32(&zlib, (b << 16) | a);
  AppendPngChunk(&png, "IDAT", zlib);
  AppendPngChunk(&png, "IEND", {});
  return png;
}

// A one-row RGBA PNG.
Bytes RgbaPng(const std::vector<std::array<uint8_t, 4>>& pixels) {
  Bytes raw = {0};  // filter: none
  for (const auto& p : pixels) raw.insert(raw.end(), p.begin(), p.end());
  return MakePng(static_cast<uint32_t>(pixels.size()), 1, 8, 6, raw);
}

// GIF image data of colour indices 0 .. 3 (code size 2), written as literal codes of 3 bits
// with a clear code before every second one, so the code width never grows.
Bytes GifData(const std::vector<uint8_t>& indices) {
  std::vector<uint8_t> codes;
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) codes.push_back(4);  // clear
    codes.push_back(indices[i]);
  }
  codes.push_back(5);  // end of information
  Bytes packed((codes.size() * 3 + 7) / 8, 0);
  for (size_t i = 0; i < codes.size(); ++i) {
    for (int bit = 0; bit < 3; ++bit) {
      const size_t at = i * 3 + static_cast<size_t>(bit);
      if ((codes[i] >> bit) & 1) packed[at / 8] = static_cast<uint8_t>(packed[at / 8] | (1 << (at % 8)));
    }
  }
  Bytes data = {2};  // code size
  for (size_t at = 0; at < packed.size(); at += 255) {
    const size_t n = std::min<size_t>(255, packed.size() - at);
    data.push_back(static_cast<uint8_t>(n));
    data.insert(data.end(), packed.begin() + static_cast<long>(at), packed.begin() + static_cast<long>(at + n));
  }
  data.push_back(0);
  return data;
}

struct GifFrame {
  uint16_t x = 0, y = 0, width = 0, height = 0;
  std::vector<uint8_t> indices;  // row by row, as stored
  int transparent = -1;
  bool interlaced = false;
};

// Colours 0 red, 1 blue, 2 green, 3 white.
Bytes MakeGif(uint16_t screen_width, uint16_t screen_height, const std::vector<GifFrame>& frames) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  Append(&gif, {uint8_t(screen_width), uint8_t(screen_width >> 8), uint8_t(screen_height), uint8_t(screen_height >> 8),
                0x81, 0, 0});
  Append(&gif, {255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 255});
  for (const GifFrame& f : frames) {
    if (f.transparent >= 0) Append(&gif, {0x21, 0xF9, 4, 0x01, 0, 0, uint8_t(f.transparent), 0});
    Append(&gif, {0x2C, uint8_t(f.x), uint8_t(f.x >> 8), uint8_t(f.y), uint8_t(f.y >> 8), uint8_t(f.width),
                  uint8_t(f.width >> 8), uint8_t(f.height), uint8_t(f.height >> 8), uint8_t(f.interlaced ? 0x40 : 0)});
    const Bytes data = GifData(f.indices);
    gif.insert(gif.end(), data.begin(), data.end());
  }
  gif.push_back(0x3B);
  return gif;
}

// A 2 x 1 GIF: a red pixel and a pixel of colour 1 (blue), which is marked transparent.
Bytes TransparentGif(uint16_t screen_width = 2, uint16_t screen_height = 1) {
  GifFrame frame;
  frame.width = 2;
  frame.height = 1;
  frame.indices = {0, 1};
  frame.transparent = 1;
  return MakeGif(screen_width, screen_height, {frame});
}

void AppendLittleEndian(Bytes* out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A BMP with an info header; `extra` (palette or bit masks) between the header and the rows,
// which are given as stored (each padded to 4 bytes by the caller).
Bytes MakeBmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const Bytes& extra,
              const Bytes& rows) {
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(extra.size());
  Bytes bmp = {'B', 'M'};
  AppendLittleEndian(&bmp, offset + static_cast<uint32_t>(rows.size()), 4);
  AppendLittleEndian(&bmp, 0, 4);
  AppendLittleEndian(&bmp, offset, 4);
  AppendLittleEndian(&bmp, 40, 4);
  AppendLittleEndian(&bmp, static_cast<uint32_t>(width), 4);
  AppendLittleEndian(&bmp, static_cast<uint32_t>(height), 4);
  AppendLittleEndian(&bmp, 1, 2);
  AppendLittleEndian(&bmp, bits, 2);
  AppendLittleEndian(&bmp, compression, 4);
  for (int i = 0; i < 5; ++i) AppendLittleEndian(&bmp, 0, 4);
  bmp.insert(bmp.end(), extra.begin(), extra.end());
  bmp.insert(bmp.end(), rows.begin(), rows.end());
  return bmp;
}

// Start of image, JFIF header and the two quantisation tables with which every JPEG below begins.
const Bytes kJpegHead = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01,
    0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x01, 0x01, 0x01, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04, 0x04, 0x03, 0x04, 0x06, 0x05, 0x06,
    0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06, 0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08,
    0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08, 0x0b, 0x0c, 0x0b, 0x0a, 0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff,
    0xdb, 0x00, 0x43, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
};

Bytes JpegAfterHead(std::initializer_list<uint8_t> rest) {
  Bytes jpeg = kJpegHead;
  jpeg.insert(jpeg.end(), rest);
  return jpeg;
}

const Bytes kRedJpeg = JpegAfterHead({
    0xff, 0xc0, 0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01,
    0xff, 0xc4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00, 0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01,
    0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x13, 0x14, 0x71, 0xff, 0xd9,
});

// 32 x 32, four 16 x 16 quadrants: (200, 50, 50), (50, 200, 50) / (50, 50, 200), (240, 240, 240);
// baseline and progressive, no chroma subsampling.
const Bytes kQuadJpeg = JpegAfterHead({
    0xff, 0xc0, 0x00, 0x11, 0x08, 0x00, 0x20, 0x00, 0x20, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x17, 0x00, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x0a, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00, 0x19, 0x01, 0x01,
    0x00, 0x03, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x07,
    0x09, 0x0a, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11,
    0x00, 0x3f, 0x00, 0x9e, 0xd4, 0xdb, 0x4b, 0x00, 0x55, 0x8a, 0x6d, 0xce, 0xb8, 0x09, 0x4d, 0x72, 0x3a, 0x28,
    0x01, 0x56, 0x29, 0xb7, 0x3a, 0xe0, 0x39, 0xc6, 0xdf, 0x47, 0xb3, 0x00, 0x6a, 0xd1, 0x9a, 0x69, 0x80, 0x0c,
    0xa5, 0xb4, 0xb1, 0x0f, 0x01, 0xab, 0x46, 0x69, 0xa6, 0x00, 0x3f, 0xff, 0xd9,
});
const Bytes kQuadProgressiveJpeg = JpegAfterHead({
    0xff, 0xc2, 0x00, 0x11, 0x08, 0x00, 0x20, 0x00, 0x20, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01,
    0xff, 0xc4, 0x00, 0x17, 0x00, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x07, 0x09, 0x08, 0xff, 0xc4, 0x00, 0x19, 0x01, 0x01, 0x00, 0x03, 0x01, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x06, 0x08, 0x09, 0x07, 0xff, 0xda, 0x00, 0x0c, 0x03,
    0x01, 0x00, 0x02, 0x10, 0x03, 0x10, 0x00, 0x00, 0x01, 0x9e, 0xd3, 0x74, 0xb0, 0xab, 0x53, 0x79, 0xd6, 0x25, 0x37,
    0x2e, 0x8a, 0x0a, 0xb5, 0x37, 0x9d, 0x63, 0x9c, 0x77, 0xd7, 0xb3, 0x0d, 0x5a, 0xcd, 0x33, 0x03, 0x29, 0x74, 0xb4,
    0x38, 0xd5, 0xac, 0xd3, 0x30, 0x3f, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x05, 0x02,
    0x07, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x40, 0xff, 0xda, 0x00, 0x08, 0x01, 0x03, 0x01, 0x01, 0x3f, 0x01, 0x07, 0xff, 0xc4, 0x00, 0x14,
    0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff,
    0xda, 0x00, 0x08, 0x01, 0x02, 0x01, 0x01, 0x3f, 0x01, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01,
    0x00, 0x06, 0x3f, 0x02, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x3f, 0x21, 0x07,
    0xff, 0xda, 0x00, 0x0c, 0x03, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x40, 0xff, 0xda, 0x00, 0x08, 0x01, 0x03, 0x01, 0x01, 0x3f, 0x10, 0x07, 0xff, 0xc4, 0x00, 0x14,
    0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff,
    0xda, 0x00, 0x08, 0x01, 0x02, 0x01, 0x01, 0x3f, 0x10, 0x07, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff, 0xda, 0x00, 0x08, 0x01, 0x01,
    0x00, 0x01, 0x3f, 0x10, 0x07, 0xff, 0xd9,
});

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

Bytes Cut(const Bytes& bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)); }

// Colour values within `tolerance` per channel, for decoders whose rounding may differ.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) {
      return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    }
  }
  return ::testing::AssertionSuccess();
}

// JPEG leaves its quadrants' colours within a few levels; a reduced decode averages across the
// quadrants' borders, so only pixels away from them are compared.
void ExpectQuadrants(const Picture& p, int tolerance) {
  const int w = p.width(), h = p.height();
  const int a = w / 8, b = w - 1 - w / 8;
  EXPECT_TRUE(Near(p.at(a, a), MakeColour(200, 50, 50), tolerance));
  EXPECT_TRUE(Near(p.at(b, a), MakeColour(50, 200, 50), tolerance));
  EXPECT_TRUE(Near(p.at(a, h - 1 - h / 8), MakeColour(50, 50, 200), tolerance));
  EXPECT_TRUE(Near(p.at(b, h - 1 - h / 8), MakeColour(240, 240, 240), tolerance));
}

TEST(PictureFile, JpegBaselineAndProgressiveLoad) {
  for (const Bytes* jpeg : {&kQuadJpeg, &kQuadProgressiveJpeg}) {
    Picture p;
    ASSERT_TRUE(DecodePictureBytes(*jpeg, false, 0, &p));
    ASSERT_EQ(p.width(), 32);
    ASSERT_EQ(p.height(), 32);
    ExpectQuadrants(p, 4);
  }
}

TEST(PictureFile, EveryCutOfAPictureFailsAndLeavesTheOutputAlone) {
  const Picture before(1, 1, MakeColour(1, 2, 3));
  Bytes bmp = MakeBmp(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
  // A GIF's first frame is all that is decoded: only its trailer may be missing.
  struct File {
    const char* name;
    Bytes bytes;
    size_t may_miss;
  };
  const std::vector<File> files = {{"jpeg", kQuadJpeg, 0},
                                   {"progressive jpeg", kQuadProgressiveJpeg, 0},
                                   {"png", RgbaPng({{1, 2, 3, 255}, {4, 5, 6, 255}}), 0},
                                   {"gif", TransparentGif(), 1},
                                   {"bmp", bmp, 0}};
  for (const auto& [name, bytes, may_miss] : files) {
    Picture whole;
    ASSERT_TRUE(DecodePictureBytes(bytes, false, 0, &whole)) << name;
    for (size_t n = 0; n + may_miss < bytes.size(); ++n) {
      Picture p = before;
      EXPECT_FALSE(DecodePictureBytes(Cut(bytes, n), false, 0, &p)) << name << " cut to " << n << " bytes";
      EXPECT_EQ(p, before) << name;
    }
  }
}

TEST(PictureFile, FilesTooShortForTheSizeTheyDeclareAreRefusedBeforeDecoding) {
  Picture p;
  // PNG: 8000 x 8000 grey pixels cannot come out of a few bytes of deflate data.
  const Status png = DecodePictureBytes(MakePng(8000, 8000, 8, 0, {0, 1, 2}), false, 0, &p);
  EXPECT_FALSE(png);
  EXPECT_NE(png.why().find("too little image data"), std::string::npos) << png.why();
  // GIF: an 8000 x 8000 frame from two pixels' worth of codes.
  GifFrame frame;
  frame.width = frame.height = 8000;
  frame.indices = {0, 1};
  const Status gif = DecodePictureBytes(MakeGif(8000, 8000, {frame}), false, 0, &p);
  EXPECT_FALSE(gif);
  EXPECT_NE(gif.why().find("too little image data"), std::string::npos) << gif.why();
  // JPEG: the 8 x 8 picture's frame header claiming 8000 x 8000.
  Bytes jpeg = kRedJpeg;
  const size_t sof = 158;
  ASSERT_EQ(jpeg[sof], 0xFF);
  ASSERT_EQ(jpeg[sof + 1], 0xC0);
  jpeg[sof + 5] = jpeg[sof + 7] = 0x1F;  // 0x1F40 = 8000
  jpeg[sof + 6] = jpeg[sof + 8] = 0x40;
  const Status big = DecodePictureBytes(jpeg, false, 0, &p);
  EXPECT_FALSE(big);
  EXPECT_NE(big.why().find("too little image data"), std::string::npos) << big.why();
  // Beyond the largest picture, whatever the data.
  const Status huge = DecodePictureBytes(TransparentGif(9000, 9000), false, 0, &p);
  EXPECT_FALSE(huge);
  EXPECT_NE(huge.why().find("too large"), std::string::npos) << huge.why();
  EXPECT_FALSE(DecodePictureBytes(MakePng(0, 1, 8, 0, {0, 1}), false, 0, &p));
}

TEST(PictureFile, DamagedPngChunksFailUnlessTheyAreAncillary) {
  const Bytes png = RgbaPng({{1, 2, 3, 255}, {4, 5, 6, 255}});
  Picture p;
  Bytes corrupt = png;
  corrupt[41] = 0;  // the image data's zlib header, under its checksum
  const Status s = DecodePictureBytes(corrupt, false, 0, &p);
  EXPECT_FALSE(s);
  EXPECT_NE(s.why().find("checksum of IDAT"), std::string::npos) << s.why();
  // A text chunk with a wrong checksum is ignored, as the decoder ignores it.
  Bytes with_text = MakePng(2, 1, 8, 6, {0, 1, 2, 3, 255, 4, 5, 6, 255}, false, {{"tEXt", Bytes{'a', 0, 'b'}}});
  with_text[33 + 8 + 3] ^= 0xFF;  // the text chunk's checksum
  ASSERT_TRUE(DecodePictureBytes(with_text, false, 0, &p));
  EXPECT_EQ(p.at(1, 0), MakeColour(4, 5, 6));
}

TEST(PictureFile, PngColourTypesDepthsAndInterlacing) {
  Picture p;
  // 16-bit RGB keeps each sample's high byte.
  ASSERT_TRUE(DecodePictureBytes(MakePng(1, 1, 16, 2, {0, 0x12, 0xFF, 0x34, 0x01, 0x56, 0x80}), false, 0, &p));
  EXPECT_EQ(p.at(0, 0), MakeColour(0x12, 0x34, 0x56));
  // 1-bit grey: 0 black, 1 white.
  ASSERT_TRUE(DecodePictureBytes(MakePng(3, 1, 1, 0, {0, 0b01000000}), false, 0, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{kColourBlack, kColourWhite, kColourBlack}));
  // Palette with a transparent entry.
  const Bytes palette = {10, 20, 30, 40, 50, 60};
  ASSERT_TRUE(DecodePictureBytes(MakePng(2, 1, 8, 3, {0, 0, 1}, false, {{"PLTE", palette}, {"tRNS", {255, 0}}}), true,
                                 kTransparentColour, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{MakeColour(10, 20, 30), kTransparentColour}));
  // Interlaced 2 x 2 RGB: pass 1 holds (0, 0), pass 6 (1, 0), pass 7 the second row.
  const Bytes raw = {0, 1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 4, 4, 4};
  ASSERT_TRUE(DecodePictureBytes(MakePng(2, 2, 8, 2, raw, true), false, 0, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{MakeColour(1, 1, 1), MakeColour(2, 2, 2), MakeColour(3, 3, 3),
                                               MakeColour(4, 4, 4)}));
}

TEST(PictureFile, GifFirstFrameOnItsCanvas) {
  Picture p;
  // A 1 x 2 frame at (1, 1) on a 3 x 3 canvas: the rest is uncovered and takes the fill colour;
  // the second frame is not shown.
  GifFrame first;
  first.x = first.y = 1;
  first.width = 1;
  first.height = 2;
  first.indices = {2, 3};
  GifFrame second = first;
  second.indices = {0, 0};
  ASSERT_TRUE(DecodePictureBytes(MakeGif(3, 3, {first, second}), true, kTransparentColour, &p));
  const uint32_t t = kTransparentColour, green = MakeColour(0, 255, 0);
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{t, t, t, t, green, t, t, kColourWhite, t}));
  // Interlaced rows are stored 0, 4, 2, 6 (passes one to three) then 1, 3, 5, 7 (pass four).
  GifFrame interlaced;
  interlaced.width = 1;
  interlaced.height = 8;
  interlaced.interlaced = true;
  interlaced.indices = {0, 0, 2, 2, 1, 1, 1, 1};
  ASSERT_TRUE(DecodePictureBytes(MakeGif(1, 8, {interlaced}), false, 0, &p));
  const uint32_t red = MakeColour(255, 0, 0), blue = MakeColour(0, 0, 255);
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{red, blue, green, blue, red, blue, green, blue}));
  // An empty frame leaves the whole canvas uncovered.
  GifFrame empty;
  empty.height = 2;
  empty.indices = {};
  ASSERT_TRUE(DecodePictureBytes(MakeGif(2, 2, {empty}), true, kTransparentColour, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>(4, kTransparentColour)));
  // A frame reaching outside its canvas.
  GifFrame outside = first;
  outside.y = 2;
  EXPECT_FALSE(DecodePictureBytes(MakeGif(3, 3, {outside}), false, 0, &p));
}

TEST(PictureFile, BmpDepthsAndRowOrders) {
  Picture p;
  // 1 bit, bottom-up, palette black and white: the stored first row is the bottom one.
  const Bytes two_colours = {0, 0, 0, 0, 255, 255, 255, 0};
  ASSERT_TRUE(
      DecodePictureBytes(MakeBmp(3, 2, 1, 0, two_colours, {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}), false, 0, &p));
  const uint32_t k = kColourBlack, w = kColourWhite;
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{k, w, k, w, k, w}));
  // 16 bits, 5-5-5 by default: full channels become 255, one step becomes 8.
  ASSERT_TRUE(DecodePictureBytes(MakeBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x21, 0x04}), false, 0, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{MakeColour(255, 0, 0), MakeColour(8, 8, 8)}));
  // 16 bits through 5-6-5 bit fields.
  Bytes masks;
  for (const uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) AppendLittleEndian(&masks, m, 4);
  ASSERT_TRUE(DecodePictureBytes(MakeBmp(2, 1, 16, 3, masks, {0xE0, 0x07, 0x41, 0x08}), false, 0, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{MakeColour(0, 255, 0), MakeColour(8, 8, 8)}));
  // 32 bits, top-down (negative height): the first stored row is the top one.
  ASSERT_TRUE(DecodePictureBytes(MakeBmp(1, -2, 32, 0, {}, {3, 2, 1, 0, 6, 5, 4, 0}), false, 0, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{MakeColour(1, 2, 3), MakeColour(4, 5, 6)}));
  // Pixel data shorter than the rows is refused.
  const Status short_rows = DecodePictureBytes(MakeBmp(100, 100, 24, 0, {}, {1, 2, 3}), false, 0, &p);
  EXPECT_FALSE(short_rows);
  EXPECT_NE(short_rows.why().find("cut short"), std::string::npos) << short_rows.why();
}

TEST(PictureFile, BmpRunLengthCoding) {
  Picture p;
  const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};  // black white red green
  // Bottom row: two reds, then the literals white, green, white (the last beyond the row's end),
  // end of row; then a move right 1 and up 1, skipping the middle row; one green; end.
  const Bytes rle8 = {2, 2, 0, 3, 1, 3, 1, 0, 0, 0, 0, 2, 1, 1, 1, 3, 0, 1};
  ASSERT_TRUE(DecodePictureBytes(MakeBmp(4, 3, 8, 1, palette, rle8), true, kTransparentColour, &p));
  const uint32_t t = kTransparentColour, r = MakeColour(255, 0, 0), g = MakeColour(0, 255, 0);
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{t, g, t, t, t, t, t, t, r, r, kColourWhite, g}));
  // Four bits: a run alternates the two indices of its byte.
  ASSERT_TRUE(DecodePictureBytes(MakeBmp(3, 1, 4, 2, palette, {3, 0x23, 0, 1}), false, 0, &p));
  EXPECT_EQ(p.pixels(), (std::vector<uint32_t>{r, g, r}));
  // Without its end the data is cut short.
  const Status cut = DecodePictureBytes(MakeBmp(4, 3, 8, 1, palette, Cut(rle8, rle8.size() - 2)), false, 0, &p);
  EXPECT_FALSE(cut);
  EXPECT_NE(cut.why().find("cut short"), std::string::npos) << cut.why();
}

TEST(PictureFile, FilesAreReadInPiecesAcrossLargeSegments) {
  // Two comment segments of 60,000 bytes before the picture: the file spans several of the
  // pieces it is read in, and both the check and the decoder skip over them.
  Bytes padded = {0xFF, 0xD8};
  for (int i = 0; i < 2; ++i) {
    Append(&padded, {0xFF, 0xFE, 60000 >> 8, 60000 & 0xFF});
    padded.insert(padded.end(), 60000 - 2, 'x');
  }
  padded.insert(padded.end(), kQuadJpeg.begin() + 2, kQuadJpeg.end());
  test::TempDir dir;
  test::WriteFileBytes(dir.File("padded.jpg"), padded);
  Picture from_file, from_memory;
  ASSERT_TRUE(LoadPictureFile(dir.File("padded.jpg"), false, 0, &from_file));
  ASSERT_TRUE(DecodePictureBytes(kQuadJpeg, false, 0, &from_memory));
  EXPECT_EQ(from_file, from_memory);
}

TEST(PictureFile, AFailedReadAnywhereFailsTheLoad) {
  test::TempDir dir;
  ASSERT_TRUE(WritePictureFile(dir.File("large.png"), test::PseudoRandomPicture(200, 120, 5)));  // several pieces
  test::WriteFileBytes(dir.File("quad.jpg"), kQuadJpeg);
  test::WriteFileBytes(dir.File("rle.bmp"), MakeBmp(3, 1, 4, 2, {0, 0, 0, 0, 9, 9, 9, 0}, {3, 0x01, 0, 1}));
  constexpr unsigned kReadsAndSeeks = fault::kRead | fault::kSeek;
  for (const char* name : {"large.png", "quad.jpg", "rle.bmp"}) {
    const std::string path = dir.File(name);
    Picture whole;
    fault::FailNth(1000000, kReadsAndSeeks);
    ASSERT_TRUE(LoadPictureFile(path, false, 0, &whole)) << name;
    const unsigned long operations = fault::Counted();
    fault::Reset();
    for (unsigned long k = 1; k <= operations; ++k) {
      const Picture before(1, 1, MakeColour(1, 2, 3));
      Picture p = before;
      fault::FailNth(k, kReadsAndSeeks);
      const Status s = LoadPictureFile(path, false, 0, &p);
      const bool triggered = fault::Triggered();
      fault::Reset();
      EXPECT_TRUE(triggered) << name << " " << k;
      EXPECT_FALSE(s) << name << ": the load survived failed operation " << k;
      EXPECT_EQ(p, before) << name;
    }
  }
}

TEST(PictureFile, JpegDecodesReducedOnlyWhileTheCallerKeepsItsDetail) {
  Picture p;
  // 32 x 32 to 4 x 4 needs at least 8 x 8: a quarter of the size.
  ReducedDecode reduce = ReducedForSize(4, 4);
  ASSERT_TRUE(DecodePictureBytes(kQuadJpeg, false, 0, &p, &reduce));
  EXPECT_EQ(reduce.file_width, 32);
  EXPECT_EQ(reduce.file_height, 32);
#if defined(_WIN32)
  EXPECT_EQ(reduce.divisor, 1);  // stb_image decodes at full size only
#else
  EXPECT_EQ(reduce.divisor, 4);
#endif
  EXPECT_EQ(p.width(), 32 / reduce.divisor);
  ExpectQuadrants(p, 6);
  // 32 x 32 to 20 x 20: even half the size would lose detail.
  reduce = ReducedForSize(20, 20);
  ASSERT_TRUE(DecodePictureBytes(kQuadProgressiveJpeg, false, 0, &p, &reduce));
  EXPECT_EQ(reduce.divisor, 1);
  EXPECT_EQ(p.width(), 32);
  // For a face, its crop counts, not the whole picture: a 320 x 1000 picture keeps twice a large
  // face, but not once the X range takes half of it.
  FaceOptions options;
  EXPECT_TRUE(ReducedForFace(options, FaceKind::kLarge).enough(320, 1000));
  options.use_x_range = true;
  options.x_low = 0;
  options.x_high = 50;
  EXPECT_FALSE(ReducedForFace(options, FaceKind::kLarge).enough(320, 1000));
  EXPECT_TRUE(ReducedForFace(options, FaceKind::kSmall).enough(320, 1000));
  // Other formats decode at full size.
  reduce = ReducedForSize(1, 1);
  ASSERT_TRUE(DecodePictureBytes(TransparentGif(), false, 0, &p, &reduce));
  EXPECT_EQ(reduce.divisor, 1);
  EXPECT_EQ(reduce.file_width, 2);
}

#if !defined(_WIN32)
// stb_image, which the Windows build decodes with, makes up the pixels of damaged data.
TEST(PictureFile, DamagedJpegDataFails) {
  Picture p;
  Bytes damaged = kQuadJpeg;
  // All-ones bits in the middle of the scan: no valid Huffman code.
  for (size_t i = damaged.size() - 40; i < damaged.size() - 20; i += 2) {
    damaged[i] = 0xFF;
    damaged[i + 1] = 0x00;
  }
  const Status s = DecodePictureBytes(damaged, false, 0, &p);
  EXPECT_FALSE(s);
  EXPECT_NE(s.why().find("Corrupt JPEG data"), std::string::npos) << s.why();
}
#endif

}  // namespace
}  // namespace qm
