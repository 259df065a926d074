// The panel windows under Wine: opening once, the option panel's check boxes, range drags and
// method list, and closing.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/handles_win32.h"
#include "skin/controls_win32.h"
#include "skin/option_state.h"
#include "skin/skin_win32.h"
#include "skin/skinned_window_win32.h"

namespace qm::skin {
namespace {

class SkinPanels : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    WNDCLASSA sub{};
    sub.style = CS_DBLCLKS;
    sub.lpfnWndProc = PanelWindowProc;
    sub.hInstance = GetModuleHandleA(nullptr);
    sub.lpszClassName = "QLMKSUB";
    RegisterClassA(&sub);  // may exist from an earlier test
    ClearControlTable();
    Options() = FaceOptions{};
    main_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(main_, nullptr);
    SetControl(kSlotMainWindow, main_);
  }
  void TearDown() override {
    DestroyWindow(main_);  // takes the owned panels with it
    ClearControlTable();
    Options() = FaceOptions{};
  }

  static void Command(HWND panel, int id, int code) { SendMessageA(panel, WM_COMMAND, MAKEWPARAM(id, code), 0); }
  static void Scroll(HWND panel, int slot, int code, int position) {
    SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(Control(slot)));
  }
  static int Selection(int slot, UINT which) { return static_cast<int>(SendMessageA(Control(slot), which, 0, 0)); }

  HWND main_ = nullptr;
};

TEST_F(SkinPanels, EachPanelOpensOnceAndEmptiesItsSlotWhenClosed) {
  HWND option = OpenPanel(main_, PanelKind::kOption);
  ASSERT_NE(option, nullptr);
  EXPECT_EQ(Control(kSlotOptionPanel), option);
  EXPECT_EQ(OpenPanel(main_, PanelKind::kOption), option);  // the second request focuses it
  HWND about = OpenPanel(main_, PanelKind::kAbout);
  ASSERT_NE(about, nullptr);
  EXPECT_NE(about, option);
  EXPECT_EQ(Control(kSlotAboutPanel), about);
  EXPECT_NE(Control(kSlotAboutClose), nullptr);

  Command(about, kIdAboutClose, BN_CLICKED);
  EXPECT_FALSE(IsWindow(about));
  EXPECT_EQ(Control(kSlotAboutPanel), nullptr);
  EXPECT_EQ(Control(kSlotAboutClose), nullptr);
  Command(option, kIdOptionClose, BN_CLICKED);
  EXPECT_FALSE(IsWindow(option));
  EXPECT_EQ(Control(kSlotOptionPanel), nullptr);
  EXPECT_EQ(Control(kSlotXRangeBar), nullptr);
}

TEST_F(SkinPanels, CheckBoxesAndLabelsFlipOnClicksAndDoubleClicksOnly) {
  HWND panel = OpenPanel(main_, PanelKind::kOption);
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(IsWindowEnabled(Control(kSlotXRangeBar)));
  Command(panel, kIdXRangeLabel, STN_DBLCLK);
  EXPECT_TRUE(Options().use_x_range);
  EXPECT_TRUE(IsWindowEnabled(Control(kSlotXRangeBar)));
  Command(panel, kIdAspectCheck, STN_CLICKED);
  EXPECT_TRUE(Options().aspect_lock);
  Command(panel, kIdAspectLabel, STN_ENABLE);  // other notifications change nothing
  EXPECT_TRUE(Options().aspect_lock);
  Command(panel, kIdSmallCopyLabel, STN_CLICKED);
  EXPECT_FALSE(Options().small_face_copy);
  Command(panel, kIdYRangeCheck, STN_CLICKED);
  EXPECT_TRUE(IsWindowEnabled(Control(kSlotYRangeBar)));
  Command(panel, kIdAutoRingLabel, STN_CLICKED);
  EXPECT_TRUE(Options().auto_ring);
}

TEST_F(SkinPanels, ARangeDragSurvivesDisablingAndReopening) {
  HWND panel = OpenPanel(main_, PanelKind::kOption);
  ASSERT_NE(panel, nullptr);
  Command(panel, kIdXRangeCheck, STN_CLICKED);
  Scroll(panel, kSlotXRangeBar, TB_THUMBTRACK, 80);
  Scroll(panel, kSlotXRangeBar, TB_THUMBTRACK, 60);
  EXPECT_EQ(Selection(kSlotXRangeBar, TBM_GETSELSTART), 60);
  EXPECT_EQ(Selection(kSlotXRangeBar, TBM_GETSELEND), 80);
  Scroll(panel, kSlotXRangeBar, TB_THUMBPOSITION, 20);
  EXPECT_EQ(Options().x_low, 20);
  EXPECT_EQ(Options().x_high, 80);
  EXPECT_EQ(Selection(kSlotXRangeBar, TBM_GETSELSTART), 20);
  // The Y bar keeps its own drag state.
  Scroll(panel, kSlotYRangeBar, TB_THUMBPOSITION, 30);
  EXPECT_EQ(Options().y_high, 0);

  Command(panel, kIdXRangeCheck, STN_CLICKED);  // off: disabled, the range stays
  EXPECT_FALSE(IsWindowEnabled(Control(kSlotXRangeBar)));
  EXPECT_EQ(Options().x_high, 80);
  Command(panel, kIdOptionClose, BN_CLICKED);

  panel = OpenPanel(main_, PanelKind::kOption);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(Selection(kSlotXRangeBar, TBM_GETSELSTART), 20);
  EXPECT_EQ(Selection(kSlotXRangeBar, TBM_GETSELEND), 80);
  EXPECT_FALSE(IsWindowEnabled(Control(kSlotXRangeBar)));
  EXPECT_EQ(SendMessageA(Control(kSlotXRangeBar), TBM_GETRANGEMAX, 0, 0), 100);
}

TEST_F(SkinPanels, TheMethodListSetsTheResizeMethod) {
  HWND panel = OpenPanel(main_, PanelKind::kOption);
  ASSERT_NE(panel, nullptr);
  HWND list = Control(kSlotResizeMethod);
  EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 3);  // Bilinear, the start method
  SendMessageA(list, CB_SETCURSEL, 4, 0);
  Command(panel, kIdResizeMethod, CBN_SELCHANGE);
  EXPECT_EQ(Options().resize_method, 7);
  Command(panel, kIdOptionClose, BN_CLICKED);

  Options().resize_method = 0;  // a method without a name shows no selection
  panel = OpenPanel(main_, PanelKind::kOption);
  EXPECT_EQ(SendMessageA(Control(kSlotResizeMethod), CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(SkinPanels, OwnerDrawLeavesUnknownItemsToTheSystem) {
  EXPECT_EQ(DrawItem(main_, nullptr), 0);
  DRAWITEMSTRUCT item{};
  item.CtlID = kIdSave;
  EXPECT_EQ(DrawItem(main_, &item), 0);  // no DC
  const WindowDc main_dc(main_);
  item.hDC = main_dc.get();
  item.CtlID = 1053;
  EXPECT_EQ(DrawItem(main_, &item), 0);
  item.CtlID = kIdNumberBox;  // an edit box draws itself
  EXPECT_EQ(DrawItem(main_, &item), 0);
  item.CtlID = kIdSex;
  item.itemID = static_cast<UINT>(-1);
  item.itemAction = ODA_DRAWENTIRE;
  EXPECT_EQ(DrawItem(main_, &item), 0);  // a combo box without an item

  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_COMBOBOX;
  measure.itemHeight = 30;
  EXPECT_EQ(MeasureItem(&measure), 1);
  EXPECT_EQ(measure.itemHeight, 14u);
  measure.CtlType = ODT_LISTBOX;
  measure.itemHeight = 30;
  MeasureItem(&measure);
  EXPECT_EQ(measure.itemHeight, 30u);
}

// The panels answer the skinned-window messages through the shared handler: a combo item is
// measured at 14 pixels, colour messages get a brush, and anything else is left to the system.
TEST_F(SkinPanels, PanelsAnswerTheSharedSkinnedWindowMessages) {
  HWND panel = OpenPanel(main_, PanelKind::kOption);
  ASSERT_NE(panel, nullptr);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_COMBOBOX;
  measure.itemHeight = 30;
  EXPECT_EQ(SendMessageA(panel, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 1);
  EXPECT_EQ(measure.itemHeight, 14u);
  DRAWITEMSTRUCT item{};
  item.CtlID = 1053;  // no such control: left to the system, yet answered
  EXPECT_EQ(SendMessageA(panel, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);

  const WindowDc dc(panel);
  LRESULT direct = 0;
  ASSERT_TRUE(AnswerSkinnedWindowMessage(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                         reinterpret_cast<LPARAM>(Control(kSlotAspectLabel)), {}, &direct));
  EXPECT_NE(direct, 0);
  EXPECT_EQ(SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                         reinterpret_cast<LPARAM>(Control(kSlotAspectLabel))),
            direct);

  LRESULT untouched = 77;
  EXPECT_FALSE(AnswerSkinnedWindowMessage(panel, WM_KEYDOWN, VK_SPACE, 0, {}, &untouched));
  EXPECT_FALSE(AnswerSkinnedWindowMessage(panel, WM_ERASEBKGND, 0, 0, {}, &untouched));
  EXPECT_EQ(untouched, 77);
}

}  // namespace
}  // namespace qm::skin
