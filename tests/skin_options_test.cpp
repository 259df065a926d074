// The option panel's logic and the skinned controls' layout.
#include <gtest/gtest.h>

#include <set>

#include "resources/string_ids.h"
#include "skin/control_layout.h"
#include "skin/option_state.h"

namespace qm::skin {
namespace {

TEST(RangeTracker, ADragStoresItsSpanWhicheverWayItRuns) {
  RangeTracker t;
  EXPECT_FALSE(t.OnScroll(kTrackThumbTrack, 80).set_selection);  // anchor
  TrackStep step = t.OnScroll(kTrackThumbTrack, 50);
  EXPECT_TRUE(step.set_selection);
  EXPECT_FALSE(step.store);
  EXPECT_EQ(step.start, 50);
  EXPECT_EQ(step.end, 80);
  step = t.OnScroll(kTrackThumbPosition, 20);
  EXPECT_TRUE(step.store);
  EXPECT_EQ(step.low, 20);
  EXPECT_EQ(step.high, 80);
  EXPECT_EQ(step.start, 20);
  EXPECT_EQ(step.end, 80);
  EXPECT_FALSE(t.tracking());
}

TEST(RangeTracker, ADragEndingWhereItBeganStoresNoRange) {
  RangeTracker t;
  t.OnScroll(kTrackThumbTrack, 30);
  t.OnScroll(kTrackThumbTrack, 60);
  const TrackStep step = t.OnScroll(kTrackThumbPosition, 30);
  EXPECT_TRUE(step.store);
  EXPECT_EQ(step.low, 0);
  EXPECT_EQ(step.high, 0);
}

TEST(RangeTracker, ClicksAndKeysSelectNothing) {
  RangeTracker t;
  for (int code : {0, 1, 2, 3, 6, 7, 8, kTrackThumbPosition}) {
    const TrackStep step = t.OnScroll(code, 40);
    EXPECT_FALSE(step.set_selection || step.store) << code;
  }
  t.OnScroll(kTrackThumbTrack, 40);
  EXPECT_FALSE(t.OnScroll(8 /* TB_ENDTRACK */, 40).set_selection);
  EXPECT_TRUE(t.tracking());  // only the final position closes a drag
}

TEST(RangeTracker, PositionsCompareAsUnsigned16Bit) {
  int start = 0, end = 0;
  OrderedSelection(-1, 5, &start, &end);
  EXPECT_EQ(start, 5);
  EXPECT_EQ(end, 65535);
}

TEST(Options, StartValuesAndFlipsByCheckBoxOrLabel) {
  FaceOptions o;
  EXPECT_FALSE(o.aspect_lock || o.use_x_range || o.use_y_range || o.auto_ring);
  EXPECT_TRUE(o.small_face_copy);
  EXPECT_EQ(o.resize_method, 6);

  EXPECT_EQ(FlipOption(&o, kIdAspectLabel), kIdAspectCheck);
  EXPECT_TRUE(o.aspect_lock);
  EXPECT_TRUE(OptionIsOn(o, kIdAspectCheck));
  EXPECT_EQ(FlipOption(&o, kIdAspectCheck), kIdAspectCheck);
  EXPECT_FALSE(o.aspect_lock);
  EXPECT_EQ(FlipOption(&o, kIdSmallCopyLabel), kIdSmallCopyCheck);
  EXPECT_FALSE(o.small_face_copy);
  EXPECT_EQ(FlipOption(&o, kIdXRangeLabel), kIdXRangeCheck);
  EXPECT_EQ(FlipOption(&o, kIdYRangeCheck), kIdYRangeCheck);
  EXPECT_EQ(FlipOption(&o, kIdAutoRingLabel), kIdAutoRingCheck);
  EXPECT_TRUE(o.use_x_range && o.use_y_range && o.auto_ring);

  const FaceOptions before = o;
  EXPECT_EQ(FlipOption(&o, kIdAllowedCheck), 0);  // the main window's check is no option
  EXPECT_EQ(FlipOption(&o, kIdResizeMethod), 0);
  EXPECT_EQ(o.aspect_lock, before.aspect_lock);
  EXPECT_FALSE(OptionIsOn(o, kIdAllowedCheck));
}

TEST(Options, ResizeMethodByLocalizedName) {
  EXPECT_EQ(ResizeMethodOfName("Bilinear"), 6);
  EXPECT_EQ(ResizeMethodOfName("bicubic"), 7);
  EXPECT_EQ(ResizeMethodOfName("PIXEL RESIZE"), 3);
  EXPECT_EQ(ResizeMethodOfName(""), 0);
  EXPECT_EQ(ResizeMethodOfName("Nearest"), 0);
}

TEST(ControlLayout, SlotsAndIdsAreUniqueAndSlot44StaysFree) {
  std::set<int> slots, ids;
  for (std::span<const ControlPlacement> table :
       {std::span<const ControlPlacement>(kMainControls), std::span<const ControlPlacement>(kOptionControls),
        std::span<const ControlPlacement>(kAboutControls)}) {
    for (const ControlPlacement& c : table) {
      EXPECT_TRUE(slots.insert(c.slot).second) << c.id;
      EXPECT_TRUE(ids.insert(c.id).second) << c.id;
      EXPECT_GT(c.slot, 0);
      EXPECT_LT(c.slot, kControlSlots);
      EXPECT_GE(c.id, kFirstControlId);
      EXPECT_LE(c.id, kLastControlId);
      EXPECT_EQ(FindControlPlacement(c.id), &c);
      EXPECT_EQ(DrawKindOf(c.id) == DrawKind::kNothing, c.kind == ControlKind::kLineEdit ||
                                                            c.kind == ControlKind::kNumberBox ||
                                                            c.kind == ControlKind::kBiographyEdit ||
                                                            c.kind == ControlKind::kTrackbar)
          << c.id;
    }
  }
  // Every slot but the main window, the two panel windows and the unused 44 holds a control.
  EXPECT_EQ(slots.size(), static_cast<size_t>(kControlSlots - 4));
  EXPECT_FALSE(slots.count(44));
  EXPECT_EQ(FindControlPlacement(kIdUpdateCheck), nullptr);
}

TEST(ControlLayout, CreationOrderAndWhatEachControlShows) {
  EXPECT_EQ(kMainControls[0].id, kIdMinimize);
  EXPECT_EQ(kMainControls[29].id, kIdMessagePanel);
  EXPECT_EQ(kOptionControls[13].id, kIdResizeMethod);
  EXPECT_EQ(LabelStringOf(kIdSave), kLabelSave);
  EXPECT_EQ(LabelStringOf(kIdCopyLarge), LabelStringOf(kIdCopySmall));
  EXPECT_EQ(LabelStringOf(kIdSmallCopyLabel), kLabelSmallCopy);
  EXPECT_EQ(LabelStringOf(kIdNumberBox), 0u);
  EXPECT_EQ(FindControlPlacement(kIdBiography)->text_limit, 512);
  EXPECT_EQ(FindControlPlacement(kIdNumberBox)->text_limit, 3);
  EXPECT_TRUE(FindControlPlacement(kIdKeyword)->disabled);
  EXPECT_TRUE(FindControlPlacement(kIdProgramHome)->disabled);
  EXPECT_TRUE(OnPanelBackdrop(kIdOptionClose));
  EXPECT_FALSE(OnPanelBackdrop(kIdAbout));
}

TEST(ControlLayout, ButtonSheetCells) {
  EXPECT_EQ(CaptionButtonCell(kIdMinimize, false), (SheetCell{24, 42}));
  EXPECT_EQ(CaptionButtonCell(kIdClose, true), (SheetCell{0, 62}));
  EXPECT_EQ(ArrowCell(kIdUpArrow, false), (SheetCell{32, 14}));
  EXPECT_EQ(ArrowCell(kIdDownArrow, true), (SheetCell{16, 28}));
  EXPECT_EQ(CheckBoxCell(true, true), (SheetCell{0, 0}));  // disabled wins over ticked
  EXPECT_EQ(CheckBoxCell(false, true), (SheetCell{0, 28}));
  EXPECT_EQ(CheckBoxCell(false, false), (SheetCell{0, 14}));
}

}  // namespace
}  // namespace qm::skin
