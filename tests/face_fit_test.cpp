#include "portrait/face_fit.h"

#include <gtest/gtest.h>

#include "portrait/face_art.h"
#include "portrait/portrait_codec.h"
#include "tests/portrait_test_util.h"

namespace qm {
namespace {

struct Rect {
  int32_t left, top, right, bottom;
  bool operator==(const Rect&) const = default;
};
Rect Fit(const FaceOptions& o, int w, int h) {
  const FitRect r = FittingRectangle(o, w, h);
  return {r.left, r.top, r.right, r.bottom};
}

TEST(FaceFit, OptionsStartAsTheOptionPanelDoes) {
  const FaceOptions o;
  EXPECT_FALSE(o.aspect_lock);
  EXPECT_FALSE(o.use_x_range);
  EXPECT_FALSE(o.use_y_range);
  EXPECT_EQ(o.x_low + o.x_high + o.y_low + o.y_high, 0);
  EXPECT_FALSE(o.auto_ring);
  EXPECT_TRUE(o.small_face_copy);
  EXPECT_EQ(o.resize_method, kResizeBilinear);
}

TEST(FaceFit, FittingRectangles) {
  FaceOptions o;
  EXPECT_EQ(Fit(o, 200, 100), (Rect{0, 0, 200, 100}));  // squeezed whole
  o.aspect_lock = true;
  EXPECT_EQ(Fit(o, 200, 100), (Rect{50, 0, 150, 100}));  // centred square
  EXPECT_EQ(Fit(o, 201, 100), (Rect{50, 0, 150, 100}));  // odd surplus: extra column dropped right
  EXPECT_EQ(Fit(o, 100, 201), (Rect{0, 50, 100, 150}));
  EXPECT_EQ(Fit(o, 82, 82), (Rect{0, 0, 82, 82}));
  o = FaceOptions();
  o.use_x_range = true;
  o.x_low = 20;
  o.x_high = 80;
  EXPECT_EQ(Fit(o, 250, 90), (Rect{50, 0, 200, 90}));  // columns 50 .. 199
  o.aspect_lock = true;                                // range first, then a centred square
  EXPECT_EQ(Fit(o, 250, 90), (Rect{80, 0, 170, 90}));
  o.x_low = o.x_high = 40;                             // low = high: no range
  o.aspect_lock = false;
  EXPECT_EQ(Fit(o, 250, 90), (Rect{0, 0, 250, 90}));
  o = FaceOptions();
  o.use_y_range = true;
  o.y_low = 10;
  o.y_high = 55;
  EXPECT_EQ(Fit(o, 30, 33), (Rect{0, 3, 30, 18}));  // 330 / 100 = 3, 1815 / 100 = 18
  o.use_y_range = false;                            // the range is kept but not used
  EXPECT_EQ(Fit(o, 30, 33), (Rect{0, 0, 30, 33}));
}

TEST(FaceFit, HslToRgb) {
  EXPECT_EQ(HslToRgb(77, 120, 0), MakeColour(120, 120, 120));
  EXPECT_EQ(HslToRgb(0, 255, 255), kColourWhite);
  EXPECT_EQ(HslToRgb(0, 128, 255), MakeColour(255, 0, 0));   // l x s / 255 branch
  EXPECT_EQ(HslToRgb(85, 127, 255), MakeColour(0, 254, 0));  // l < 128 branch
}

TEST(FaceFit, RingColour) {
  // Death, overlay grey 60: lightness 60 + 142 = 202, saturation 64, hue 189.
  EXPECT_EQ(RingColour(MakeColour(60, 60, 60), kClassNecromancer, kAlignmentDeath),
            MakeColour(200, 188, 215));
  // The lightness is the mean of the smallest and largest component, truncated.
  EXPECT_EQ(RingColour(MakeColour(10, 61, 30), kClassNecromancer, kAlignmentDeath),
            RingColour(MakeColour(35, 35, 35), kClassNecromancer, kAlignmentDeath));
  // Lightness is clamped to 255: white.
  EXPECT_EQ(RingColour(MakeColour(200, 200, 200), kClassNecromancer, kAlignmentDeath), kColourWhite);
  EXPECT_EQ(RingColour(kColourBlack, kClassNecromancer, kAlignmentDeath), kColourBlack);
  EXPECT_EQ(RingColour(MakeColour(60, 60, 60), kClassNone, kAlignmentDeath), kColourBlack);
  EXPECT_EQ(RingColour(MakeColour(60, 60, 60), kClassGeneric, kAlignmentNone), kColourBlack);
  EXPECT_EQ(RingColour(MakeColour(60, 60, 60), kClassKnight, 7), kColourBlack);
  // Alignment none gives a grey of the overlay's own lightness.
  EXPECT_EQ(RingColour(MakeColour(60, 60, 60), 13, kAlignmentNone), MakeColour(60, 60, 60));
  // Nature is a saturated green.
  const uint32_t nature = RingColour(MakeColour(70, 70, 70), kClassDruid, kAlignmentNature);
  EXPECT_GT(GreenOf(nature), RedOf(nature));
  EXPECT_GT(GreenOf(nature), BlueOf(nature));
}

TEST(FaceFit, RingStepPaintsOnlyExactlyTransparentPixels) {
  const Picture overlay = MakeRingOverlay(kLargeFaceSize);
  Picture face(kLargeFaceSize, kLargeFaceSize, kTransparentColour);
  face.at(41, 2) = MakeColour(254, 0, 255);  // blended: stays
  RingStep(&face, overlay, kClassNecromancer, kAlignmentDeath);
  EXPECT_EQ(face.at(41, 41), kColourBlack);  // inside the inner circle the overlay is black
  EXPECT_EQ(face.at(0, 0), kColourBlack);
  EXPECT_EQ(face.at(41, 2), MakeColour(254, 0, 255));
  EXPECT_EQ(face.at(41, 4), RingColour(overlay.at(41, 4), kClassNecromancer, kAlignmentDeath));
  EXPECT_NE(face.at(41, 4), kColourBlack);
}

TEST(FaceArt, MaskIsTheDiscFillingTheSquare) {
  for (const int size : {kLargeFaceSize, kSmallFaceSize}) {
    const Picture mask = MakeFaceMask(size);
    ASSERT_EQ(mask.width(), size);
    const int last = size - 1, mid = size / 2;
    for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_EQ(mask.at(x, y), kColourBlack);
    }
    // The disc touches all four sides, and is symmetric.
    for (const auto& [x, y] : {std::pair{mid, 0}, {0, mid}, {last, mid}, {mid, last}, {mid, mid}}) {
      EXPECT_EQ(mask.at(x, y), kColourWhite) << size << ": " << x << "," << y;
    }
    size_t white = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        EXPECT_EQ(mask.at(x, y), mask.at(last - x, y));
        EXPECT_EQ(mask.at(x, y), mask.at(y, x));
        white += mask.at(x, y) == kColourWhite;
      }
    }
    // About pi / 4 of the square.
    EXPECT_NEAR(static_cast<double>(white) / (size * size), 0.785, 0.02);
  }
  EXPECT_TRUE(MakeFaceMask(0).empty());
}

TEST(FaceArt, RingOverlayIsAGreyBandInsideTheDisc) {
  struct Case {
    int size, inner, outer;
  };
  for (const Case c : {Case{kLargeFaceSize, 31, 41}, Case{kSmallFaceSize, 20, 26}}) {
    const Picture ring = MakeRingOverlay(c.size);
    const Picture mask = MakeFaceMask(c.size);
    const int mid = c.size / 2;
    int lowest = 255, highest = 0;
    for (int y = 0; y < c.size; ++y) {
      for (int x = 0; x < c.size; ++x) {
        const uint32_t px = ring.at(x, y);
        if (px == kColourBlack) continue;
        EXPECT_EQ(RedOf(px), GreenOf(px));
        EXPECT_EQ(RedOf(px), BlueOf(px));
        EXPECT_EQ(mask.at(x, y), kColourWhite);
        lowest = std::min<int>(lowest, RedOf(px));
        highest = std::max<int>(highest, RedOf(px));
      }
    }
    EXPECT_EQ(lowest, 50);
    EXPECT_GE(highest, 78);
    EXPECT_LE(highest, 81);
    // Along the middle row: black inside the inner radius, rising grey across the band.
    EXPECT_EQ(ring.at(mid, mid), kColourBlack);
    EXPECT_EQ(ring.at(mid + c.inner - 2, mid), kColourBlack);
    EXPECT_NE(ring.at(mid + c.inner + 1, mid), kColourBlack);
    for (int x = mid + c.inner + 1; x < c.size - 1; ++x) {
      EXPECT_LE(RedOf(ring.at(x, mid)), RedOf(ring.at(x + 1, mid)));
    }
  }
}

TEST(FaceFit, PutPictureIntoLargeFaceWithRingMaskAndSmallCopy) {
  // A picture with a transparent (magenta) background around an opaque square.
  Picture picture(164, 164, kTransparentColour);
  for (int y = 60; y < 104; ++y) {
    for (int x = 60; x < 104; ++x) picture.at(x, y) = MakeColour(30, 120, 200);
  }
  FaceOptions o;
  o.auto_ring = true;
  o.resize_method = kResizeSmart;  // exact colours, so the magenta survives the stretch
  NewFaces faces;
  ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kLarge, o,
                                 {"Necro", kClassNecromancer, kAlignmentDeath}, &faces));
  const Picture& face = faces.face.face;
  EXPECT_EQ(face.at(0, 0), kColourBlack);                 // masked corner
  EXPECT_EQ(face.at(41, 41), MakeColour(30, 120, 200));   // the picture
  EXPECT_EQ(face.at(20, 41), kColourBlack);               // transparent, inside the inner circle
  EXPECT_EQ(face.at(41, 3), RingColour(MakeRingOverlay(82).at(41, 3), kClassNecromancer,
                                       kAlignmentDeath));
  Picture decoded;
  ASSERT_TRUE(DecodePortrait(faces.face.image, kLargeFaceSize, &decoded));
  EXPECT_EQ(decoded, face);
  EXPECT_EQ(PortraitImageName(faces.face.image), "Necro");

  ASSERT_TRUE(faces.small.has_value());
  EXPECT_EQ(faces.small->face.width(), kSmallFaceSize);
  EXPECT_EQ(faces.small->face.at(0, 0), kColourBlack);
  EXPECT_EQ(faces.small->face.at(26, 26), MakeColour(30, 120, 200));
  NewFace derived;
  ASSERT_TRUE(DeriveSmallFace(face, o, "Necro", &derived));
  EXPECT_EQ(derived.image, faces.small->image);
}

TEST(FaceFit, GenericHeroGetsNoRingAndSmallFacesMakeNoCopy) {
  const Picture picture(60, 60, kTransparentColour);
  FaceOptions o;
  o.auto_ring = true;
  NewFaces faces;
  ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kLarge, o, {"G", kClassGeneric, kAlignmentNone},
                                 &faces));
  EXPECT_EQ(faces.face.face, Picture(82, 82));  // all black
  ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kSmall, o, {"G", kClassKnight, kAlignmentOrder},
                                 &faces));
  EXPECT_EQ(faces.face.face.width(), kSmallFaceSize);
  EXPECT_FALSE(faces.small.has_value());
  o.small_face_copy = false;
  ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kLarge, o, {"G", kClassKnight, kAlignmentOrder},
                                 &faces));
  EXPECT_FALSE(faces.small.has_value());
  // Without Auto-Ring the magenta stays (then masked).
  o.auto_ring = false;
  ASSERT_TRUE(PutPictureIntoFace(picture, FaceKind::kLarge, o, {"G", kClassKnight, kAlignmentOrder},
                                 &faces));
  EXPECT_EQ(faces.face.face.at(41, 41), kTransparentColour);
}

// What a FaceStretch saw; the editor hands its platform stretch in for the derived small face.
struct SeenStretch {
  int calls = 0;
  PixelRect from;
  int source_width = 0;
};
SeenStretch seen_stretch;

Status PaintGreyStretch(const Picture& source, PixelRect from, int, Picture* face) {
  ++seen_stretch.calls;
  seen_stretch.from = from;
  seen_stretch.source_width = source.width();
  *face = Picture(face->width(), face->height(), MakeColour(99, 99, 99));
  return Status::Ok();
}

TEST(FaceFit, FinishFacesScalesTheSmallFaceWithTheStretchItIsGiven) {
  FaceOptions o;
  o.use_y_range = true;
  o.y_low = 10;
  o.y_high = 60;
  const FaceHero hero{"Necro", kClassNecromancer, kAlignmentDeath};
  seen_stretch = {};
  NewFaces faces;
  ASSERT_TRUE(FinishFaces(Picture(82, 82, kColourWhite), FaceKind::kLarge, o, hero, PaintGreyStretch, &faces));
  EXPECT_EQ(seen_stretch.calls, 1);
  EXPECT_EQ(seen_stretch.source_width, kLargeFaceSize);  // the large face as made, not the picture
  EXPECT_EQ(seen_stretch.from.y, 8);                     // the ranges crop the large face once more
  EXPECT_EQ(seen_stretch.from.height, 41);
  ASSERT_TRUE(faces.small);
  EXPECT_EQ(faces.small->face.at(26, 26), MakeColour(99, 99, 99));
  EXPECT_EQ(faces.small->face.at(0, 0), kColourBlack);  // masked after the stretch
  EXPECT_EQ(faces.face.face.at(41, 41), kColourWhite);

  // A small face, or a large one without Auto S.Face Copy, needs no second stretch.
  ASSERT_TRUE(FinishFaces(Picture(52, 52), FaceKind::kSmall, o, hero, PaintGreyStretch, &faces));
  o.small_face_copy = false;
  ASSERT_TRUE(FinishFaces(Picture(82, 82), FaceKind::kLarge, o, hero, PaintGreyStretch, &faces));
  EXPECT_EQ(seen_stretch.calls, 1);
  EXPECT_FALSE(faces.small);
  // A stretched face of the other size is refused.
  EXPECT_FALSE(FinishFaces(Picture(52, 52), FaceKind::kLarge, o, hero, PaintGreyStretch, &faces));
}

TEST(FaceFit, CropWithoutPixelsOrOutsideThePictureFailsAndProducesNothing) {
  const Picture tiny(3, 3, kColourWhite);
  FaceOptions o;
  o.use_x_range = true;
  o.x_low = 10;
  o.x_high = 30;  // 30 x 3 / 100 = 0: zero width
  NewFaces faces;
  faces.face.image = {42};
  EXPECT_FALSE(PutPictureIntoFace(tiny, FaceKind::kLarge, o, {"k", kClassKnight, kAlignmentOrder}, &faces));
  EXPECT_EQ(faces.face.image, std::vector<uint8_t>{42});
  o.x_low = 50;
  o.x_high = 150;  // past the right edge
  EXPECT_FALSE(PutPictureIntoFace(Picture(100, 100), FaceKind::kSmall, o, {"k", kClassKnight, kAlignmentOrder},
                                  &faces));
  o.x_low = 80;
  o.x_high = 20;  // low above high
  EXPECT_FALSE(PutPictureIntoFace(Picture(100, 100), FaceKind::kSmall, o, {"k", kClassKnight, kAlignmentOrder},
                                  &faces));
}

}  // namespace
}  // namespace qm
