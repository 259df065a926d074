// Drawing primitives of the skin: key-colour regions, transparent copy, pixel shading on a DC,
// bitmap duplicates and button faces.
#include <cstring>
#include <vector>

#include "portrait/bitmap_pixels_win32.h"
#include "skin/button_face.h"
#include "skin/key_region.h"
#include "skin/pixel_shade.h"
#include "skin/skin_internal_win32.h"
#include "skin/skin_win32.h"

namespace qm::skin {

GdiRegion KeyColourRegion(HDC dc, int left, int top, int width, int height) {
  Picture area;
  if (!ReadDcPixels(dc, left, top, width, height, &area)) return {};
  const std::vector<SpanRect> runs = OpaqueRuns(area, kSkinKeyColour);
  if (runs.empty()) return GdiRegion(CreateRectRgn(0, 0, 0, 0));

  // One region from all rectangles at once; the same pixels as uniting them one by one.
  const size_t bytes = sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT);
  std::vector<unsigned char> data(bytes);
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(runs.size());
  header.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  header.rcBound = {0, 0, width, height};
  std::memcpy(data.data(), &header, sizeof header);
  for (size_t i = 0; i < runs.size(); ++i) {
    const RECT r = {runs[i].left, runs[i].top, runs[i].right, runs[i].bottom};
    std::memcpy(data.data() + sizeof header + i * sizeof(RECT), &r, sizeof r);
  }
  return GdiRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes),
                                   reinterpret_cast<const RGNDATA*>(data.data())));
}

bool TransparentCopy(HDC dest, int left, int top, int width, int height, HDC source,
                     int source_left, int source_top, COLORREF key) {
  if (width <= 0 || height <= 0) return true;
  GdiBitmap colour(CreateCompatibleBitmap(dest, width, height));
  GdiBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  MemoryDc colour_dc(dest);
  MemoryDc mask_dc(dest);
  if (!colour || !mask || !colour_dc || !mask_dc) return true;
  SelectInDc keep_colour(colour_dc.get(), colour.get());
  SelectInDc keep_mask(mask_dc.get(), mask.get());

  BitBlt(colour_dc.get(), 0, 0, width, height, source, source_left, source_top, SRCCOPY);
  // Colour to monochrome: pixels of the background colour become 1.
  SetBkColor(colour_dc.get(), key);
  BitBlt(mask_dc.get(), 0, 0, width, height, colour_dc.get(), 0, 0, SRCCOPY);
  // Blacken the key pixels of the colour copy.
  SetBkColor(colour_dc.get(), RGB(0, 0, 0));
  SetTextColor(colour_dc.get(), RGB(255, 255, 255));
  BitBlt(colour_dc.get(), 0, 0, width, height, mask_dc.get(), 0, 0, SRCAND);
  // Clear the destination where the source is opaque, then paint the opaque pixels in.
  const COLORREF old_bk = SetBkColor(dest, RGB(255, 255, 255));
  const COLORREF old_text = SetTextColor(dest, RGB(0, 0, 0));
  BitBlt(dest, left, top, width, height, mask_dc.get(), 0, 0, SRCAND);
  BitBlt(dest, left, top, width, height, colour_dc.get(), 0, 0, SRCPAINT);
  SetBkColor(dest, old_bk);
  SetTextColor(dest, old_text);
  return true;
}

namespace {

// Reads the inclusive area once, shades it and writes it back once.
template <typename Op>
void ShadeDc(HDC dc, int x1, int y1, int x2, int y2, Op op) {
  if (x1 > x2 || y1 > y2) return;
  Picture area;
  if (!ReadDcPixels(dc, x1, y1, x2 - x1 + 1, y2 - y1 + 1, &area)) return;
  op(&area);
  WriteDcPixels(dc, x1, y1, area);
}

}  // namespace

void BrightenRect(HDC dc, int x1, int y1, int x2, int y2, int amount) {
  ShadeDc(dc, x1, y1, x2, y2, [amount](Picture* p) {
    BrightenArea(p, 0, 0, p->width() - 1, p->height() - 1, amount);
  });
}
void BrightenPixel(HDC dc, int x, int y, int amount) { BrightenRect(dc, x, y, x, y, amount); }
void BrightenHLine(HDC dc, int x1, int x2, int y, int amount) {
  BrightenRect(dc, x1, y, x2, y, amount);
}
void BrightenVLine(HDC dc, int x, int y1, int y2, int amount) {
  BrightenRect(dc, x, y1, x, y2, amount);
}

void GreyRect(HDC dc, int x1, int y1, int x2, int y2) {
  ShadeDc(dc, x1, y1, x2, y2,
          [](Picture* p) { GreyArea(p, 0, 0, p->width() - 1, p->height() - 1); });
}
void GreyPixel(HDC dc, int x, int y) { GreyRect(dc, x, y, x, y); }
void GreyHLine(HDC dc, int x1, int x2, int y) { GreyRect(dc, x1, y, x2, y); }

void DrawButtonFace(HDC dc, int left, int top, int right, int bottom, const char* label,
                    int fill, ButtonState state) {
  const ButtonLook look = static_cast<ButtonLook>(state);
  if (right >= left && bottom >= top) {
    Picture face;
    if (ReadDcPixels(dc, left, top, right - left + 1, bottom - top + 1, &face)) {
      ShadeButtonFace(&face, 0, 0, right - left, bottom - top, fill, look);
      WriteDcPixels(dc, left, top, face);
    }
  }
  SelectInDc keep_font(dc, SkinFont());
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  const LabelPasses passes = ButtonLabelPasses(left, top, right, bottom, look);
  for (int i = 0; i < passes.count; ++i) {
    const LabelPass& pass = passes.pass[static_cast<size_t>(i)];
    SetTextColor(dc, RGB(RedOf(pass.colour), GreenOf(pass.colour), BlueOf(pass.colour)));
    internal::DrawString(dc, pass.x, pass.y, label);
  }
  SetTextColor(dc, RGB(0, 0, 0));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetBkMode(dc, old_mode);
}

}  // namespace qm::skin
