#include "base/dib_win32.h"

namespace qm {

bool SwapRedBlue(std::span<const uint32_t> in, std::span<uint32_t> out) {
  if (in.size() != out.size()) return false;
  for (size_t i = 0; i < in.size(); ++i) out[i] = SwapRedBlue(in[i]);
  return true;
}

size_t DibStride(int width, int bits_per_pixel) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bits_per_pixel) + 31) / 32 * 4;
}

BITMAPINFO DibInfo(int width, int height, int bits_per_pixel) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bits_per_pixel);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool BitmapSize(HBITMAP bitmap, int* width, int* height) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return false;
  *width = info.bmWidth;
  *height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  return true;
}

DibCanvas::DibCanvas(HDC like, int width, int height) : dc_(like), width_(width), height_(height) {
  if (!dc_ || width <= 0 || height <= 0) return;
  BITMAPINFO info = DibInfo(width, -height, 32);
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) return;
  select_.emplace(dc_.get(), bitmap_.get());
  if (!select_->ok()) return;
  bits_ = static_cast<uint32_t*>(bits);
}

std::span<uint32_t> DibCanvas::pixels() const {
  if (bits_ == nullptr) return {};
  return {bits_, static_cast<size_t>(width_) * static_cast<size_t>(height_)};
}

}  // namespace qm
