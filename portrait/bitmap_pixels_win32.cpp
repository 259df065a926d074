#include "portrait/bitmap_pixels_win32.h"

#include <cstring>
#include <optional>
#include <vector>

#include "base/gdi_win32.h"

namespace qm {
namespace {

// 32-bit DIB pixels are B, G, R, X in memory (0x00RRGGBB as a word); colour values keep red
// in the low byte.
uint32_t ColourOfDib(uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
uint32_t DibOfColour(uint32_t c) { return ColourOfDib(c); }

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A 32-bit top-down DIB section selected into its own memory DC.
class DibCanvas {
 public:
  DibCanvas(HDC like, int width, int height) : dc_(like) {
    if (!dc_ || width <= 0 || height <= 0) return;
    BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || bits == nullptr) return;
    select_.emplace(dc_.get(), bitmap_.get());
    if (!select_->ok()) return;
    bits_ = static_cast<uint32_t*>(bits);
  }
  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  uint32_t* bits() const { return bits_; }

 private:
  MemoryDc dc_;
  GdiBitmap bitmap_;
  std::optional<SelectInDc> select_;
  uint32_t* bits_ = nullptr;
};

}  // namespace

bool ReadDcPixels(HDC dc, int left, int top, int width, int height, Picture* out) {
  if (dc == nullptr || width <= 0 || height <= 0) return false;
  DibCanvas canvas(dc, width, height);
  if (!canvas.ok()) return false;
  if (!BitBlt(canvas.dc(), 0, 0, width, height, dc, left, top, SRCCOPY)) return false;
  GdiFlush();
  Picture picture(width, height);
  const uint32_t* src = canvas.bits();
  for (uint32_t& p : picture.pixels()) p = ColourOfDib(*src++);
  *out = std::move(picture);
  return true;
}

bool WriteDcPixels(HDC dc, int left, int top, const Picture& pixels) {
  if (dc == nullptr || pixels.empty()) return false;
  DibCanvas canvas(dc, pixels.width(), pixels.height());
  if (!canvas.ok()) return false;
  uint32_t* dst = canvas.bits();
  for (uint32_t p : pixels.pixels()) *dst++ = DibOfColour(p);
  GdiFlush();
  return BitBlt(dc, left, top, pixels.width(), pixels.height(), canvas.dc(), 0, 0, SRCCOPY) != 0;
}

bool BitmapSize(HBITMAP bitmap, int* width, int* height) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return false;
  *width = info.bmWidth;
  *height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  return true;
}

bool ReadBitmapPixels(HBITMAP bitmap, Picture* out) {
  int width = 0, height = 0;
  if (!BitmapSize(bitmap, &width, &height) || width <= 0 || height <= 0) return false;
  WindowDc screen(nullptr);
  if (!screen) return false;
  BITMAPINFO info = TopDownInfo(width, height);
  std::vector<uint32_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), bits.data(), &info,
                DIB_RGB_COLORS) != height) {
    return false;
  }
  Picture picture(width, height);
  for (size_t i = 0; i < bits.size(); ++i) picture.pixels()[i] = ColourOfDib(bits[i]);
  *out = std::move(picture);
  return true;
}

bool WriteBitmapPixels(HBITMAP bitmap, const Picture& pixels) {
  int width = 0, height = 0;
  if (!BitmapSize(bitmap, &width, &height) || width != pixels.width() ||
      height != pixels.height() || pixels.empty()) {
    return false;
  }
  WindowDc screen(nullptr);
  if (!screen) return false;
  BITMAPINFO info = TopDownInfo(width, height);
  std::vector<uint32_t> bits(pixels.pixels().size());
  for (size_t i = 0; i < bits.size(); ++i) bits[i] = DibOfColour(pixels.pixels()[i]);
  return SetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), bits.data(), &info,
                   DIB_RGB_COLORS) == height;
}

}  // namespace qm
