#include "portrait/picture_import_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "portrait/dib_bits_win32.h"
#include "tests/test_util.h"
#include "tests/win32/win32_fixtures.h"

namespace qm {
namespace {

using test::CardQuadrantColour;

constexpr int kW = 64, kH = 48;

bool Near(uint32_t a, uint32_t b, int tolerance) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance &&
         std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

// The centre pixel of each quadrant.
uint32_t Centre(const Picture& p, int q) {
  return p.at((q % 2) * kW / 2 + kW / 4, (q / 2) * kH / 2 + kH / 4);
}

struct Loaded {
  GdiBitmap bitmap;
  Picture pixels;
  int bits_per_pixel = 0;
};

Loaded Load(const std::string& path, bool fill) {
  Loaded loaded;
  loaded.bitmap = LoadPictureFile(path.c_str(), fill);
  if (loaded.bitmap) {
    loaded.pixels = test::BitmapPixels(loaded.bitmap.get());
    BITMAP info{};
    GetObjectA(loaded.bitmap.get(), sizeof info, &info);
    loaded.bits_per_pixel = info.bmBitsPixel * info.bmPlanes;
  }
  return loaded;
}

class PictureImport : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir_.File(name);
    test::WriteFileBytes(path, bytes);
    return path;
  }
  test::TempDir dir_;
};

TEST_F(PictureImport, BmpLoadsExactlyAs24BitPicture) {
  const Loaded bmp = Load(Write("card.bmp", test::CardBmp(kW, kH)), false);
  ASSERT_TRUE(bmp.bitmap);
  EXPECT_EQ(bmp.bits_per_pixel, 24);
  EXPECT_EQ(bmp.pixels, test::TestCard(kW, kH));
}

TEST_F(PictureImport, JpegLoadsThroughThePlatformDecoder) {
  const Loaded jpeg = Load(Write("card.jpg", test::CardJpeg(kW, kH)), true);
  ASSERT_TRUE(jpeg.bitmap);
  ASSERT_EQ(jpeg.pixels.width(), kW);
  ASSERT_EQ(jpeg.pixels.height(), kH);
  for (int q = 0; q < 4; ++q) EXPECT_TRUE(Near(Centre(jpeg.pixels, q), test::kCardColours[q], 8)) << q;
}

TEST_F(PictureImport, GifTransparencyTakesTheFillColourOrWhite) {
  const std::string path = Write("card.gif", test::CardGifWithTransparency(kW, kH));
  const Loaded filled = Load(path, true);
  ASSERT_TRUE(filled.bitmap);
  const Loaded plain = Load(path, false);
  ASSERT_TRUE(plain.bitmap);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool transparent = x >= kW / 2 && y >= kH / 2;
      const uint32_t want = CardQuadrantColour(kW, kH, x, y);
      ASSERT_EQ(filled.pixels.at(x, y), transparent ? kTransparentColour : want) << x << "," << y;
      ASSERT_EQ(plain.pixels.at(x, y), transparent ? kColourWhite : want) << x << "," << y;
    }
  }
}

TEST_F(PictureImport, PngAlphaIsTransparency) {
  const std::string path = Write("card.png", test::CardPngWithAlpha(kW, kH));
  const Loaded filled = Load(path, true);
  ASSERT_TRUE(filled.bitmap);
  EXPECT_EQ(filled.bits_per_pixel, 24);
  Picture want = test::TestCard(kW, kH);
  for (int y = kH / 2; y < kH; ++y) {
    for (int x = kW / 2; x < kW; ++x) want.at(x, y) = kTransparentColour;
  }
  EXPECT_EQ(filled.pixels, want);
  EXPECT_EQ(Load(path, false).pixels.at(kW - 1, kH - 1), kColourWhite);
}

TEST_F(PictureImport, FilesThatAreNoPictureGiveNone) {
  EXPECT_FALSE(LoadPictureFile(Write("notes.txt", test::Bytes("Just some text.\r\n")).c_str(), true));
  EXPECT_FALSE(LoadPictureFile(Write("empty.jpg", {}).c_str(), true));
  EXPECT_FALSE(LoadPictureFile(dir_.File("missing.jpg").c_str(), true));
  EXPECT_FALSE(LoadPictureFile("", true));
  EXPECT_FALSE(LoadPictureFile(nullptr, true));
  // A JPEG cut in the middle of its header.
  std::vector<uint8_t> cut = test::CardJpeg(kW, kH);
  cut.resize(40);
  EXPECT_FALSE(LoadPictureFile(Write("cut.jpg", cut).c_str(), true));
}

TEST(DibBits, CropReadsAgreeForDibSectionsAndDeviceBitmaps) {
  const Picture card = test::TestCard(kW, kH);
  const GdiBitmap dib = MakePictureBitmap(card);
  ASSERT_TRUE(dib);
  Picture crop;
  ASSERT_TRUE(ReadBitmapRect(dib.get(), {kW / 2 - 3, kH / 2 - 2, 7, 5}, &crop));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(crop.at(x, y), card.at(kW / 2 - 3 + x, kH / 2 - 2 + y));
    }
  }
  EXPECT_FALSE(ReadBitmapRect(dib.get(), {kW - 3, 0, 4, 1}, &crop));
  EXPECT_FALSE(ReadBitmapRect(dib.get(), {0, 0, 0, 1}, &crop));
}

}  // namespace
}  // namespace qm
