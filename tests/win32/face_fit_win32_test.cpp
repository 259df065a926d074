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
  // Death: a ring colour of its own.
  FaceHero hero{"Tester", kClassNecromancer, AlignmentOfClass(kClassNecromancer)};
  GdiBitmap large = FaceView(kLargeFaceSize);
  FaceEdit Edit(const FaceOptions& options) { return {options, hero}; }
};

// Methods 5 to 7 are the core's: the bitmap path must give the very faces and bytes of the
// core's own fitting, small face included.
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
    NewFaces faces;
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options), &faces)) << method;
    NewFaces core;
    ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kLarge, options, hero, &core));
    EXPECT_EQ(faces.face.image, core.face.image) << method;
    ASSERT_TRUE(core.small);
    ASSERT_TRUE(faces.small);
    EXPECT_EQ(faces.small->image, core.small->image) << method;
    EXPECT_EQ(faces.face.face, core.face.face) << method;
    EXPECT_EQ(faces.small->face, core.small->face) << method;
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
    NewFaces faces;
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options), &faces)) << method;
    const Picture face = Decoded(faces.face.image, kLargeFaceSize);
    for (int y = 0; y < kLargeFaceSize; ++y) {
      for (int x = 0; x < kLargeFaceSize; ++x) {
        ASSERT_EQ(face.at(x, y), mask.at(x, y) ? MakeColour(90, 140, 200) : kColourBlack)
            << method << " at " << x << "," << y;
      }
    }
    EXPECT_FALSE(faces.small);  // no Auto S.Face Copy
  }
}

// Under Auto S.Face Copy the platform methods also scale the large face down for the small one.
TEST_F(FaceFit, PlatformMethodsDeriveTheSmallFaceFromTheLargeOne) {
  const GdiBitmap bitmap = MakePictureBitmap(Picture(300, 240, MakeColour(90, 140, 200)));
  for (int method : {kResizeSmart, kResizeHalftone}) {
    FaceOptions options;
    options.resize_method = method;
    NewFaces faces;
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options), &faces)) << method;
    ASSERT_TRUE(faces.small) << method;
    const Picture small = Decoded(faces.small->image, kSmallFaceSize);
    // The disc's centre keeps the colour; the corners are black.
    EXPECT_EQ(small.at(26, 26), MakeColour(90, 140, 200)) << method;
    EXPECT_EQ(small.at(0, 0), kColourBlack) << method;
  }
}

TEST_F(FaceFit, AutoRingPaintsTheTransparentAreaLikeTheCore) {
  // All magenta: every nearest-pixel stretch keeps it exactly magenta.
  const Picture magenta(120, 120, kTransparentColour);
  const GdiBitmap bitmap = MakePictureBitmap(magenta);
  FaceOptions options;
  options.auto_ring = true;
  options.resize_method = kResizeSmart;
  NewFaces faces;
  ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kSmall, Edit(options), &faces));
  NewFaces core;
  ASSERT_TRUE(
      PutPictureIntoFace(magenta, FaceKind::kSmall, options, {hero.keyword, hero.hero_class, kAlignmentDeath}, &core));
  EXPECT_EQ(faces.face.image, core.face.image);
}

TEST_F(FaceFit, EqualSizeIsAPlainCopyWithEveryMethod) {
  const Picture picture = Gradient(kSmallFaceSize, kSmallFaceSize);
  const GdiBitmap bitmap = MakePictureBitmap(picture);
  Picture want = picture;
  ApplyFaceMask(&want, MakeFaceMask(kSmallFaceSize));
  for (int method = kResizeSmart; method <= kResizeBicubic; ++method) {
    FaceOptions options;
    options.resize_method = method;
    NewFaces faces;
    ASSERT_TRUE(PutPictureIntoFace(bitmap.get(), FaceKind::kSmall, Edit(options), &faces));
    EXPECT_EQ(faces.face.face, want) << method;
  }
}

TEST_F(FaceFit, FailureMakesNoFaces) {
  const GdiBitmap bitmap = MakePictureBitmap(Gradient(3, 3));
  FaceOptions options;
  options.use_x_range = true;  // 3 * 10 / 100 = 0 .. 3 * 20 / 100 = 0: no columns left
  options.x_low = 10;
  options.x_high = 20;
  NewFaces faces;
  faces.face.image = {9, 9};
  EXPECT_FALSE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options), &faces));
  options = {};
  options.resize_method = 9;
  EXPECT_FALSE(PutPictureIntoFace(bitmap.get(), FaceKind::kLarge, Edit(options), &faces));
  EXPECT_FALSE(PutPictureIntoFace(nullptr, FaceKind::kLarge, Edit({}), &faces));
  EXPECT_EQ(faces.face.image, (std::vector<uint8_t>{9, 9}));
  EXPECT_FALSE(faces.small);
}

TEST_F(FaceFit, DecodeIntoViewShowsTheStoredFaceAndRefusesWhatIsNotThere) {
  Picture face = Gradient(kLargeFaceSize, kLargeFaceSize);
  ApplyFaceMask(&face, MakeFaceMask(kLargeFaceSize));
  std::vector<uint8_t> image;
  ASSERT_TRUE(EncodePortrait(face, hero.keyword, &image));
  ASSERT_TRUE(DecodeFaceIntoView(image, FaceKind::kLarge, large.get()));
  EXPECT_EQ(test::BitmapPixels(large.get()), Decoded(image, kLargeFaceSize));

  const Picture shown = test::BitmapPixels(large.get());
  EXPECT_FALSE(DecodeFaceIntoView(image, FaceKind::kSmall, large.get()));  // not a small face
  EXPECT_FALSE(DecodeFaceIntoView({}, FaceKind::kLarge, large.get()));
  image.resize(100);  // cut short
  EXPECT_FALSE(DecodeFaceIntoView(image, FaceKind::kLarge, large.get()));
  EXPECT_EQ(test::BitmapPixels(large.get()), shown);
}

}  // namespace
}  // namespace qm
