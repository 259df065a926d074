#include "portrait/bitmap_pixels_win32.h"

#include <vector>

#include "base/dib_win32.h"
#include "base/handles_win32.h"

namespace qm {

Picture CanvasPicture(const DibCanvas& canvas) {
  GdiFlush();
  Picture picture(canvas.width(), canvas.height());
  SwapRedBlue(canvas.pixels(), picture.pixels());
  return picture;
}

bool ReadDcPixels(HDC dc, int left, int top, int width, int height, Picture* out) {
  if (dc == nullptr || width <= 0 || height <= 0) return false;
  DibCanvas canvas(dc, width, height);
  if (!canvas.ok()) return false;
  if (!BitBlt(canvas.dc(), 0, 0, width, height, dc, left, top, SRCCOPY)) return false;
  *out = CanvasPicture(canvas);
  return true;
}

bool WriteDcPixels(HDC dc, int left, int top, const Picture& pixels) {
  if (dc == nullptr || pixels.empty()) return false;
  DibCanvas canvas(dc, pixels.width(), pixels.height());
  if (!canvas.ok()) return false;
  SwapRedBlue(pixels.pixels(), canvas.pixels());
  GdiFlush();
  return BitBlt(dc, left, top, pixels.width(), pixels.height(), canvas.dc(), 0, 0, SRCCOPY) != 0;
}

bool ReadBitmapPixels(HBITMAP bitmap, Picture* out) {
  int width = 0, height = 0;
  if (!BitmapSize(bitmap, &width, &height) || width <= 0 || height <= 0) return false;
  WindowDc screen(nullptr);
  if (!screen) return false;
  BITMAPINFO info = DibInfo(width, -height, 32);
  std::vector<uint32_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), bits.data(), &info,
                DIB_RGB_COLORS) != height) {
    return false;
  }
  Picture picture(width, height);
  SwapRedBlue(bits, picture.pixels());
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
  BITMAPINFO info = DibInfo(width, -height, 32);
  std::vector<uint32_t> bits(pixels.pixels().size());
  SwapRedBlue(pixels.pixels(), bits);
  return SetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), bits.data(), &info,
                   DIB_RGB_COLORS) == height;
}

}  // namespace qm
