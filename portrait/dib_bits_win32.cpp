#include "portrait/dib_bits_win32.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace qm {
namespace {

bool InsideBitmap(PixelRect r, int width, int height) {
  return r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 &&
         int64_t{r.x} + r.width <= width && int64_t{r.y} + r.height <= height;
}

// Reads the rectangle straight from a DIB section's memory; false when the bitmap is not a
// 24 or 32-bit uncompressed DIB section.
bool ReadDibSectionRect(HBITMAP bitmap, PixelRect r, Picture* out) {
  DIBSECTION section{};
  if (GetObjectA(bitmap, sizeof section, &section) != sizeof section) return false;
  const BITMAPINFOHEADER& header = section.dsBmih;
  const int bpp = header.biBitCount;
  if (section.dsBm.bmBits == nullptr || (bpp != 24 && bpp != 32) ||
      (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)) {
    return false;
  }
  if (header.biCompression == BI_BITFIELDS &&
      (section.dsBitfields[0] != 0xFF0000 || section.dsBitfields[1] != 0xFF00 ||
       section.dsBitfields[2] != 0xFF)) {
    return false;
  }
  const int width = section.dsBm.bmWidth;
  const int height = section.dsBm.bmHeight;
  if (!InsideBitmap(r, width, height)) return false;
  const bool bottom_up = header.biHeight > 0;
  const size_t stride = DibStride(width, bpp);
  const auto* base = static_cast<const uint8_t*>(section.dsBm.bmBits);

  GdiFlush();  // drawing queued on the bitmap lands in its memory first
  Picture picture(r.width, r.height);
  for (int y = 0; y < r.height; ++y) {
    const int row = bottom_up ? height - 1 - (r.y + y) : r.y + y;
    const uint8_t* in = base + static_cast<size_t>(row) * stride +
                        static_cast<size_t>(r.x) * static_cast<size_t>(bpp / 8);
    uint32_t* line = picture.row(y);
    if (bpp == 24) {
      for (int x = 0; x < r.width; ++x, in += 3) line[x] = MakeColour(in[2], in[1], in[0]);
    } else {
      for (int x = 0; x < r.width; ++x, in += 4) {
        uint32_t p;
        std::memcpy(&p, in, 4);
        line[x] = SwapRedBlue(p);
      }
    }
  }
  *out = std::move(picture);
  return true;
}

}  // namespace

GdiBitmap CreatePictureBitmap(int width, int height, void** bits) {
  *bits = nullptr;
  if (width <= 0 || height <= 0) return {};
  MemoryDc dc(nullptr);  // exists only for this call
  if (!dc) return {};
  BITMAPINFO info = DibInfo(width, height, 24);
  GdiBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, bits, nullptr, 0));
  if (*bits == nullptr) bitmap.reset();
  return bitmap;
}

GdiBitmap MakePictureBitmap(const Picture& picture) {
  void* bits = nullptr;
  GdiBitmap bitmap = CreatePictureBitmap(picture.width(), picture.height(), &bits);
  if (!bitmap) return {};
  const size_t stride = DibStride(picture.width(), 24);
  auto* base = static_cast<uint8_t*>(bits);
  for (int y = 0; y < picture.height(); ++y) {
    uint8_t* out = base + static_cast<size_t>(picture.height() - 1 - y) * stride;
    const uint32_t* in = picture.row(y);
    for (int x = 0; x < picture.width(); ++x) {
      *out++ = BlueOf(in[x]);
      *out++ = GreenOf(in[x]);
      *out++ = RedOf(in[x]);
    }
  }
  return bitmap;
}

bool ReadBitmapRect(HBITMAP bitmap, PixelRect rect, Picture* out) {
  int width = 0, height = 0;
  if (!BitmapSize(bitmap, &width, &height) || !InsideBitmap(rect, width, height)) {
    return false;
  }
  try {
    if (ReadDibSectionRect(bitmap, rect, out)) return true;
    MemoryDc source(nullptr);
    if (!source) return false;
    SelectInDc keep(source.get(), bitmap);
    if (!keep.ok()) return false;
    return ReadDcPixels(source.get(), rect.x, rect.y, rect.width, rect.height, out);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace qm
