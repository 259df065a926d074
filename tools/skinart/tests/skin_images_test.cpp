// The generated skin images keep the sizes, colour depths, key colour and cell layout the
// editor's code relies on, and the main window's outline is one solid shape.
#include "tools/skinart/skin_files.h"

#include <gtest/gtest.h>

#include <map>

#include "portrait/face_art.h"
#include "tools/skinart/quantize.h"

namespace qm::skinart {
namespace {

class SkinImagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    images_ = new SkinImages(DrawSkinImages());
    files_ = new std::vector<OutputFile>(EncodeSkinFiles(*images_));
  }
  static void TearDownTestSuite() {
    delete images_;
    delete files_;
  }
  static SkinImages* images_;
  static std::vector<OutputFile>* files_;
};
SkinImages* SkinImagesTest::images_ = nullptr;
std::vector<OutputFile>* SkinImagesTest::files_ = nullptr;

struct Format {
  int width;
  int height;
  int bits;
};

int32_t I32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
}

TEST_F(SkinImagesTest, EveryBitmapHasItsSizeAndColourDepth) {
  const std::map<std::string, Format> expected = {
      {"skin/backdrop_main.bmp", {540, 440, 8}}, {"skin/button_sheet.bmp", {48, 82, 8}},
      {"skin/face_large.bmp", {82, 82, 24}},     {"skin/face_small.bmp", {52, 52, 24}},
      {"skin/mask_large.bmp", {82, 82, 1}},      {"skin/mask_small.bmp", {52, 52, 1}},
      {"skin/backdrop_panel.bmp", {480, 240, 8}}, {"skin/overlay_large.bmp", {82, 82, 8}},
      {"skin/overlay_small.bmp", {52, 52, 8}},   {"patcher_background.bmp", {480, 240, 8}},
  };
  size_t bitmaps = 0;
  for (const OutputFile& file : *files_) {
    if (file.path.size() < 4 || file.path.substr(file.path.size() - 4) != ".bmp") continue;
    ++bitmaps;
    const auto it = expected.find(file.path);
    ASSERT_NE(it, expected.end()) << file.path;
    ASSERT_GE(file.bytes.size(), 54u);
    EXPECT_EQ(I32(file.bytes, 18), it->second.width) << file.path;
    EXPECT_EQ(I32(file.bytes, 22), it->second.height) << file.path;
    EXPECT_EQ(file.bytes[28], it->second.bits) << file.path;
  }
  EXPECT_EQ(bitmaps, expected.size());
}

TEST_F(SkinImagesTest, MasksAndOverlaysAreThePortraitCodesOwn) {
  EXPECT_EQ(images_->mask_large, MakeFaceMask(82));
  EXPECT_EQ(images_->mask_small, MakeFaceMask(52));
  EXPECT_EQ(images_->overlay_large, MakeRingOverlay(82));
  EXPECT_EQ(images_->overlay_small, MakeRingOverlay(52));
}

bool IsKey(const Picture& p, int x, int y) { return p.at(x, y) == kKeyColour; }

TEST_F(SkinImagesTest, MainBackdropIsCutAroundThePlateTheCornersAndTheLastRows) {
  const Picture p = Expand(images_->main_backdrop);
  for (int y = 437; y < 440; ++y) {
    for (int x = 0; x < 540; ++x) ASSERT_TRUE(IsKey(p, x, y)) << x << "," << y;
  }
  // Corners.
  EXPECT_TRUE(IsKey(p, 539, 6));
  EXPECT_TRUE(IsKey(p, 0, 436));
  EXPECT_TRUE(IsKey(p, 539, 436));
  // Top rows: cut except where the title plate rises.
  EXPECT_TRUE(IsKey(p, 300, 0));
  EXPECT_TRUE(IsKey(p, 300, 5));
  EXPECT_FALSE(IsKey(p, 100, 0));
  EXPECT_FALSE(IsKey(p, 300, 7));
}

TEST_F(SkinImagesTest, MainOutlineIsOneSolidShape) {
  // Every row's kept pixels form one run, and the body has no key-coloured holes: the window
  // region is one piece without islands or gaps.
  const Picture p = Expand(images_->main_backdrop);
  for (int y = 0; y < 440; ++y) {
    int runs = 0;
    for (int x = 0; x < 540; ++x) {
      if (!IsKey(p, x, y) && (x == 0 || IsKey(p, x - 1, y))) ++runs;
    }
    EXPECT_LE(runs, 1) << "row " << y;
    if (y >= 20 && y < 425) {
      EXPECT_EQ(runs, 1) << "row " << y;
    }
  }
}

TEST_F(SkinImagesTest, ControlsAreaHoldsNoKeyColour) {
  // The panels and the patcher are rectangular windows; the face views are copied as they are.
  for (const IndexedImage* image : {&images_->panel_backdrop, &images_->patcher_background}) {
    const Picture p = Expand(*image);
    for (uint32_t c : p.pixels()) ASSERT_NE(c, kKeyColour);
  }
}

TEST_F(SkinImagesTest, ButtonSheetCellsAreShapesInKeyColour) {
  const Picture p = Expand(images_->button_sheet);
  // Caption buttons: key-coloured corners, solid middles, in both states.
  for (int top : {42, 62}) {
    for (int left : {0, 24}) {
      EXPECT_TRUE(IsKey(p, left, top));
      EXPECT_TRUE(IsKey(p, left + 23, top));
      EXPECT_TRUE(IsKey(p, left, top + 19));
      EXPECT_TRUE(IsKey(p, left + 23, top + 19));
      EXPECT_FALSE(IsKey(p, left + 12, top + 10));
    }
  }
  // Check boxes and arrows: every 16 x 14 cell has a solid middle.
  for (int top : {0, 14, 28}) {
    for (int left : {0, 16, 32}) EXPECT_FALSE(IsKey(p, left + 8, top + 7)) << left << "," << top;
  }
  // The three check box states differ from each other.
  auto cell = [&p](int top) {
    std::vector<uint32_t> v;
    for (int y = top; y < top + 14; ++y) {
      for (int x = 0; x < 16; ++x) v.push_back(p.at(x, y));
    }
    return v;
  };
  EXPECT_NE(cell(0), cell(14));
  EXPECT_NE(cell(14), cell(28));
}

TEST_F(SkinImagesTest, EmptyFacesHaveTheMasksBlackCorners) {
  for (const Picture* face : {&images_->face_large, &images_->face_small}) {
    const int n = face->width();
    const Picture mask = MakeFaceMask(n);
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        if (mask.at(x, y) == kColourBlack) {
          ASSERT_EQ(face->at(x, y), kColourBlack) << x << "," << y;
        }
      }
    }
  }
}

TEST_F(SkinImagesTest, EveryIconHoldsThreeSizesAndTheyDiffer) {
  for (const auto* icon : {&images_->icon, &images_->patcher_icon, &images_->restore_icon}) {
    ASSERT_EQ(icon->size(), 3u);
    EXPECT_EQ((*icon)[0].size, 16);
    EXPECT_EQ((*icon)[1].size, 32);
    EXPECT_EQ((*icon)[2].size, 48);
  }
  EXPECT_NE(images_->icon[2].rgba, images_->patcher_icon[2].rgba);
  EXPECT_NE(images_->icon[2].rgba, images_->restore_icon[2].rgba);
}

}  // namespace
}  // namespace qm::skinart
