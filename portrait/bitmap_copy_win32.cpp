// DuplicateBitmap, in a file of its own: the stubs link the pixel moves but never copy a bitmap,
// and the linker keeps every function of an object it pulls in.
#include "base/handles_win32.h"
#include "portrait/bitmap_pixels_win32.h"

namespace qm {

GdiBitmap DuplicateBitmap(HBITMAP source, bool blank) {
  BITMAP info{};
  if (source == nullptr || GetObjectA(source, sizeof info, &info) != sizeof info) return {};
  GdiBitmap copy(CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel,
                              nullptr));
  if (!copy || blank) return copy;
  MemoryDc from(nullptr);
  MemoryDc to(nullptr);
  if (!from || !to) return {};
  SelectInDc keep_from(from.get(), source);
  SelectInDc keep_to(to.get(), copy.get());
  if (!keep_from.ok() || !keep_to.ok()) return {};
  if (!BitBlt(to.get(), 0, 0, info.bmWidth, info.bmHeight, from.get(), 0, 0, SRCCOPY)) return {};
  return copy;
}

}  // namespace qm
