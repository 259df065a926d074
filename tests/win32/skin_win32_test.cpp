// The skin's GDI primitives on real bitmaps (Windows build, run under Wine): each bulk
// operation gives the same pixels as the per-pixel rule it replaces.
#include "skin/skin_win32.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/dib_win32.h"
#include "base/handles_win32.h"
#include "portrait/bitmap_pixels_win32.h"
#include "skin/button_face.h"
#include "skin/controls_win32.h"
#include "skin/pixel_shade.h"

namespace qm::skin {
namespace {

uint32_t ColourOf(COLORREF c) { return MakeColour(GetRValue(c), GetGValue(c), GetBValue(c)); }

// A screen-compatible bitmap selected into its own memory DC.
class Canvas {
 public:
  Canvas(int width, int height)
      : screen_(nullptr),
        dc_(screen_.get()),
        bitmap_(CreateCompatibleBitmap(screen_.get(), width, height)),
        keep_(dc_.get(), bitmap_.get()) {}
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }

 private:
  WindowDc screen_;
  MemoryDc dc_;
  GdiBitmap bitmap_;
  SelectInDc keep_;
};

// Deterministic colourful pixels, including some of the key colour.
Picture Pattern(int width, int height) {
  Picture p(width, height);
  uint32_t state = 12345;
  for (uint32_t& c : p.pixels()) {
    state = state * 1103515245u + 12345u;
    c = (state >> 8) & 0x00FFFFFF;
    if ((state >> 28) == 0) c = MakeColour(255, 0, 255);
  }
  return p;
}

Picture ReadAll(HDC dc, int width, int height) {
  Picture p;
  EXPECT_TRUE(ReadDcPixels(dc, 0, 0, width, height, &p));
  return p;
}

TEST(SkinGdi, PixelsRoundTripThroughDcsAndBitmaps) {
  Canvas canvas(23, 7);
  const Picture pattern = Pattern(23, 7);
  ASSERT_TRUE(WriteDcPixels(canvas.dc(), 0, 0, pattern));
  EXPECT_EQ(ReadAll(canvas.dc(), 23, 7), pattern);
  // Per-pixel reads agree with the bulk read, channel order included.
  EXPECT_EQ(ColourOf(GetPixel(canvas.dc(), 5, 3)), pattern.at(5, 3));

  WindowDc screen(nullptr);
  GdiBitmap loose(CreateCompatibleBitmap(screen.get(), 23, 7));
  ASSERT_TRUE(WriteBitmapPixels(loose.get(), pattern));
  Picture back;
  ASSERT_TRUE(ReadBitmapPixels(loose.get(), &back));
  EXPECT_EQ(back, pattern);
  EXPECT_FALSE(WriteBitmapPixels(loose.get(), Picture(22, 7)));  // wrong size
}

// The one DIB bridge: what GDI draws on a canvas comes out as colour values (red in the low
// byte), and buffers of different sizes are refused rather than overrun.
TEST(DibBridge, CanvasShowsWhatGdiDrewAsColourValues) {
  DibCanvas canvas(nullptr, 3, 2);
  ASSERT_TRUE(canvas.ok());
  ASSERT_EQ(canvas.pixels().size(), 6u);
  GdiBrush red(CreateSolidBrush(RGB(200, 10, 30)));
  const RECT corner{2, 1, 3, 2};
  ASSERT_TRUE(FillRect(canvas.dc(), &corner, red.get()));
  GdiFlush();
  std::vector<uint32_t> colours(6);
  ASSERT_TRUE(SwapRedBlue(canvas.pixels(), colours));
  EXPECT_EQ(colours[5], MakeColour(200, 10, 30));
  EXPECT_EQ(SwapRedBlue(0xFF123456u), 0x00563412u);  // the DIB's spare byte never leaks
  EXPECT_EQ(SwapRedBlue(SwapRedBlue(0x00ABCDEFu)), 0x00ABCDEFu);

  std::vector<uint32_t> short_buffer(5, 7);
  EXPECT_FALSE(SwapRedBlue(canvas.pixels(), short_buffer));
  EXPECT_EQ(short_buffer, std::vector<uint32_t>(5, 7));

  EXPECT_FALSE(DibCanvas(nullptr, 0, 4).ok());
  EXPECT_TRUE(DibCanvas(nullptr, 0, 4).pixels().empty());
  int w = 1, h = 1;
  EXPECT_FALSE(BitmapSize(nullptr, &w, &h));
  EXPECT_EQ(DibStride(3, 24), 12u);
  EXPECT_EQ(DibStride(4, 24), 12u);
}

TEST(SkinGdi, ShadingOnADcMatchesThePerPixelRule) {
  const Picture pattern = Pattern(40, 30);
  Canvas canvas(40, 30);
  WriteDcPixels(canvas.dc(), 0, 0, pattern);
  BrightenRect(canvas.dc(), 3, 4, 20, 9, -70);
  BrightenHLine(canvas.dc(), 0, 39, 29, 90);
  BrightenVLine(canvas.dc(), 39, 0, 29, 15);
  BrightenPixel(canvas.dc(), 0, 0, -255);
  GreyRect(canvas.dc(), 25, 10, 35, 20);
  GreyHLine(canvas.dc(), 1, 5, 1);
  GreyPixel(canvas.dc(), 10, 25);
  BrightenRect(canvas.dc(), 9, 0, 8, 5, 100);  // reversed: nothing

  // The same operations one pixel at a time through GetPixel/SetPixel.
  Canvas reference(40, 30);
  WriteDcPixels(reference.dc(), 0, 0, pattern);
  auto each = [&](int x1, int y1, int x2, int y2, auto op) {
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) {
        const uint32_t c = op(ColourOf(GetPixel(reference.dc(), x, y)));
        SetPixel(reference.dc(), x, y, RGB(RedOf(c), GreenOf(c), BlueOf(c)));
      }
  };
  auto by = [](int d) { return [d](uint32_t c) { return Brighten(c, d); }; };
  auto grey = [](uint32_t c) { return Greyscale(c); };
  each(3, 4, 20, 9, by(-70));
  each(0, 29, 39, 29, by(90));
  each(39, 0, 39, 29, by(15));
  each(0, 0, 0, 0, by(-255));
  each(25, 10, 35, 20, grey);
  each(1, 1, 5, 1, grey);
  each(10, 25, 10, 25, grey);
  EXPECT_EQ(ReadAll(canvas.dc(), 40, 30), ReadAll(reference.dc(), 40, 30));
}

TEST(SkinGdi, TransparentCopyKeepsTheDestinationUnderKeyPixels) {
  const Picture source = Pattern(16, 14);
  Canvas from(20, 20), to(20, 20);
  WriteDcPixels(from.dc(), 0, 0, Pattern(20, 20));
  WriteDcPixels(from.dc(), 4, 6, source);
  const Picture background(20, 20, MakeColour(1, 2, 3));
  WriteDcPixels(to.dc(), 0, 0, background);
  EXPECT_TRUE(TransparentCopy(to.dc(), 2, 3, 16, 14, from.dc(), 4, 6, kKeyColour));
  const Picture result = ReadAll(to.dc(), 20, 20);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x < 18 && y >= 3 && y < 17;
      uint32_t want = background.at(x, y);
      if (inside && source.at(x - 2, y - 3) != MakeColour(255, 0, 255)) {
        want = source.at(x - 2, y - 3);
      }
      ASSERT_EQ(result.at(x, y), want) << x << "," << y;
    }
  }
}

TEST(SkinGdi, KeyColourRegionHoldsExactlyTheOtherPixels) {
  Canvas canvas(30, 12);
  Picture picture = Pattern(30, 12);
  for (int y = 0; y < 12; ++y) picture.at(29, y) = MakeColour(255, 0, 255);  // runs to the edge
  WriteDcPixels(canvas.dc(), 0, 0, picture);
  GdiRegion region = KeyColourRegion(canvas.dc(), 2, 1, 28, 11);
  ASSERT_TRUE(region);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 28; ++x)
      ASSERT_EQ(PtInRegion(region.get(), x, y) != 0, picture.at(x + 2, y + 1) != MakeColour(255, 0, 255))
          << x << "," << y;
  EXPECT_FALSE(PtInRegion(region.get(), 28, 0));

  Canvas plain(8, 5);
  WriteDcPixels(plain.dc(), 0, 0, Picture(8, 5, kColourWhite));
  GdiRegion whole = KeyColourRegion(plain.dc(), 0, 0, 8, 5);
  RECT box{};
  EXPECT_EQ(GetRgnBox(whole.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 8);
  EXPECT_EQ(box.bottom, 5);
}

TEST(SkinGdi, DuplicateCopiesOrOnlyShapesABitmap) {
  const Picture pattern = Pattern(9, 4);
  WindowDc screen(nullptr);
  GdiBitmap source(CreateCompatibleBitmap(screen.get(), 9, 4));
  ASSERT_TRUE(WriteBitmapPixels(source.get(), pattern));
  GdiBitmap copy = DuplicateBitmap(source.get(), false);
  GdiBitmap blank = DuplicateBitmap(source.get(), true);
  ASSERT_TRUE(copy && blank);
  Picture back;
  ASSERT_TRUE(ReadBitmapPixels(copy.get(), &back));
  EXPECT_EQ(back, pattern);
  int w = 0, h = 0;
  ASSERT_TRUE(BitmapSize(blank.get(), &w, &h));
  EXPECT_EQ(w, 9);
  EXPECT_EQ(h, 4);
  EXPECT_FALSE(DuplicateBitmap(nullptr, false));
}

TEST(SkinGdi, ButtonFaceShadesLikeThePortableFace) {
  for (ButtonState state : {ButtonState::kNormal, ButtonState::kPressed, ButtonState::kDisabled}) {
    const Picture pattern = Pattern(76, 20);
    Canvas canvas(76, 20);
    WriteDcPixels(canvas.dc(), 0, 0, pattern);
    DrawButtonFace(canvas.dc(), 0, 0, 75, 19, "", 25, state);
    Picture want = pattern;
    ShadeButtonFace(&want, 0, 0, 75, 19, 25, static_cast<ButtonLook>(state));
    EXPECT_EQ(ReadAll(canvas.dc(), 76, 20), want) << static_cast<int>(state);
  }
}

TEST(SkinGdi, ColourRepliesGoBySlot) {
  ClearControlTable();
  Canvas canvas(4, 4);
  SetTextColor(canvas.dc(), RGB(1, 2, 3));
  // A window in no slot: the hollow brush, text colour untouched.
  HBRUSH hollow = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HWND stray = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(ControlColourReply(canvas.dc(), stray), hollow);
  EXPECT_EQ(ControlColourReply(canvas.dc(), nullptr), hollow);
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(canvas.dc()), kPanelColour);

  // Off NT every brush is the solid panel colour; a disabled control gets the grey text.
  Picture backdrop_pixels(40, 40, MakeColour(10, 20, 30));
  WindowDc screen(nullptr);
  GdiBitmap backdrop(CreateCompatibleBitmap(screen.get(), 40, 40));
  WriteBitmapPixels(backdrop.get(), backdrop_pixels);
  SetControl(kSlotName, stray);
  SetNtPlatform(false);
  ASSERT_TRUE(MakeControlBrush(backdrop.get(), kSlotName, 0, 0, 10, 10, true));
  LOGBRUSH solid{};
  GetObjectA(ControlBrush(kSlotName), sizeof solid, &solid);
  EXPECT_EQ(solid.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(solid.lbColor, kPanelColour);
  SetNtPlatform(true);
  ASSERT_TRUE(MakeControlBrush(backdrop.get(), kSlotName, 0, 0, 10, 10, true));
  LOGBRUSH pattern{};
  GetObjectA(ControlBrush(kSlotName), sizeof pattern, &pattern);
  EXPECT_EQ(pattern.lbStyle, static_cast<UINT>(BS_PATTERN));
  EnableWindow(stray, FALSE);
  EXPECT_EQ(ControlColourReply(canvas.dc(), stray), ControlBrush(kSlotName));
  EXPECT_EQ(GetTextColor(canvas.dc()), kDisabledTextColour);
  EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);

  ASSERT_TRUE(MakeListBrush());
  EXPECT_EQ(ListColourReply(canvas.dc(), stray), ControlBrush(kSlotMainWindow));
  SkinRelease();
  EXPECT_EQ(ControlBrush(kSlotName), nullptr);
  DestroyWindow(stray);
  ClearControlTable();
}

}  // namespace
}  // namespace qm::skin
