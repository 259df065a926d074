#include "portrait/face_fit_win32.h"

#include <gtest/gtest.h>

#include "portrait/dib_bits_win32.h"
#include "portrait/face_art.h"
#include "portrait/face_view_win32.h"
#include "portrait/portrait_codec.h"
#include "tests/win32/win32_fixtures.h"

namespace qm {
namespace {

// A 24-bit face view bitmap as the skin loads them.
GdiBitmap FaceView(int size) {
  WindowDc screen(nullptr);
  return GdiBitmap(CreateCompatibleBitmap(screen.get(), size, size));
}

Picture Gradient(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.at(x, y) = MakeColour(x * 255 / w, y * 255 / h, (x + y) & 0xFF);
  }
  return p;
}

Picture Decoded(const std::vector<uint8_t>& image, int size) {
  Picture face;
  EXPECT_TRUE(DecodePortrait(image, size, &face));
  return face;
}

struct FaceFit : ::testing::Test {
  HeroRecord record = [] {
    HeroRecord r;
    r.keyword = "Tester";
    r.hero_class = kClassNecromancer;  // death: a ring colour of its own
    r.flags = kHeroHasLarge | kHeroHasSmall;
    return r;
  }();
  GdiBitmap large = FaceView(kLargeFaceSize);
  GdiBitmap small = FaceView(kSmallFaceSize);
  FaceEdit Edit(const FaceOptions& options) { return {&record, options, large.get(), small.get()}; }
};

// Methods 5 to 7 are the core's: the bitmap path must give the very bytes of the core's own
// fitting, small face included, and the views must show those faces.
TEST_F(FaceFit, ComputedMethodsMatchTheCoreExactly) {
  const Picture picture = Gradient(200, 100);
  const GdiBitmap bitmap = MakePictureBitmap(picture);
  for (int method : {kResizeSmoothBresenham, kResizeBilinear, kResizeBicubic}) {
    FaceOptions options;
    options.resize_method = method;
    options.aspect_lock = true;
    options.use_x_range = true;
    options.x_low = 10;
    options.x_high = 90;
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options))) << method;
    NewFaces core;
    ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kLarge, options,
                                   {record.keyword, record.hero_class,
                                    AlignmentOfClass(record.hero_class)},
                                   &core));
    EXPECT_EQ(record.large_face, core.face.image) << method;
    ASSERT_TRUE(core.small);
    EXPECT_EQ(record.small_face, core.small->image) << method;
    EXPECT_EQ(test::BitmapPixels(large.get()), core.face.face) << method;
    EXPECT_EQ(test::BitmapPixels(small.get()), core.small->face) << method;
  }
}

TEST_F(FaceFit, PlatformMethodsFillTheDiscAndBlackenTheCorners) {
  const Picture flat(300, 240, MakeColour(90, 140, 200));
  const GdiBitmap bitmap = MakePictureBitmap(flat);
  const Picture mask = MakeFaceMask(kLargeFaceSize);
  for (int method : {kResizeSmart, kResizeHalftone}) {
    FaceOptions options;
    options.resize_method = method;
    options.small_face_copy = false;
    record.small_face = {1, 2, 3};
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options))) << method;
    const Picture face = Decoded(record.large_face, kLargeFaceSize);
    for (int y = 0; y < kLargeFaceSize; ++y) {
      for (int x = 0; x < kLargeFaceSize; ++x) {
        ASSERT_EQ(face.at(x, y), mask.at(x, y) ? MakeColour(90, 140, 200) : kColourBlack)
            << method << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(record.small_face, (std::vector<uint8_t>{1, 2, 3}));  // no Auto S.Face Copy
  }
}

TEST_F(FaceFit, AutoRingPaintsTheTransparentAreaLikeTheCore) {
  // All magenta: every nearest-pixel stretch keeps it exactly magenta.
  const Picture magenta(120, 120, kTransparentColour);
  const GdiBitmap bitmap = MakePictureBitmap(magenta);
  FaceOptions options;
  options.auto_ring = true;
  options.resize_method = kResizeSmart;
  ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kSmall, Edit(options)));
  NewFaces core;
  ASSERT_TRUE(PutPictureIntoFace(magenta, FaceKind::kSmall, options,
                                 {record.keyword, record.hero_class, kAlignmentDeath}, &core));
  EXPECT_EQ(record.small_face, core.face.image);
}

TEST_F(FaceFit, EqualSizeIsAPlainCopyWithEveryMethod) {
  const Picture picture = Gradient(kSmallFaceSize, kSmallFaceSize);
  const GdiBitmap bitmap = MakePictureBitmap(picture);
  Picture want = picture;
  ApplyFaceMask(&want, MakeFaceMask(kSmallFaceSize));
  for (int method = kResizeSmart; method <= kResizeBicubic; ++method) {
    FaceOptions options;
    options.resize_method = method;
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kSmall, Edit(options)));
    EXPECT_EQ(test::BitmapPixels(small.get()), want) << method;
  }
}

TEST_F(FaceFit, FailureLeavesRecordAndViewsAlone) {
  const GdiBitmap bitmap = MakePictureBitmap(Gradient(3, 3));
  FaceOptions options;
  options.use_x_range = true;  // 3 * 10 / 100 = 0 .. 3 * 20 / 100 = 0: no columns left
  options.x_low = 10;
  options.x_high = 20;
  record.large_face = {9, 9};
  const Picture before = test::BitmapPixels(large.get());
  EXPECT_FALSE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options)));
  options = {};
  options.resize_method = 9;
  EXPECT_FALSE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options)));
  EXPECT_FALSE(PutPictureIntoFace(nullptr, FaceKind::kLarge, Edit({})));
  EXPECT_EQ(record.large_face, (std::vector<uint8_t>{9, 9}));
  EXPECT_EQ(test::BitmapPixels(large.get()), before);
}

TEST_F(FaceFit, DecodeIntoViewShowsTheStoredFaceAndRefusesWhatIsNotThere) {
  Picture face = Gradient(kLargeFaceSize, kLargeFaceSize);
  ApplyFaceMask(&face, MakeFaceMask(kLargeFaceSize));
  ASSERT_TRUE(EncodePortrait(face, record.keyword, &record.large_face));
  ASSERT_TRUE(DecodeFaceIntoView(&record, FaceKind::kLarge, large.get()));
  EXPECT_EQ(test::BitmapPixels(large.get()), Decoded(record.large_face, kLargeFaceSize));

  const Picture shown = test::BitmapPixels(large.get());
  record.flags = kHeroHasSmall;  // the large flag clear
  EXPECT_FALSE(DecodeFaceIntoView(&record, FaceKind::kLarge, large.get()));
  record.flags = kHeroHasLarge;
  record.large_face.resize(100);  // cut short
  EXPECT_FALSE(DecodeFaceIntoView(&record, FaceKind::kLarge, large.get()));
  EXPECT_FALSE(DecodeFaceIntoView(nullptr, FaceKind::kLarge, large.get()));
  EXPECT_EQ(test::BitmapPixels(large.get()), shown);
}

}  // namespace
}  // namespace qm
