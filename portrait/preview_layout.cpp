#include "portrait/preview_layout.h"

#include <cstdint>

namespace qm {

PixelRect PreviewPlacement(int w, int h, PixelRect inner) {
  const int bw = inner.width;
  const int bh = inner.height;
  if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0) return {inner.x, inner.y, 0, 0};
  if (w < bw && h < bh) return {inner.x + (bw - w) / 2, inner.y + (bh - h) / 2, w, h};
  if (static_cast<double>(bh) / h < static_cast<double>(bw) / w) {
    const int drawn_width = static_cast<int>(int64_t{w} * bh / h);
    return {inner.x + (bw - drawn_width) / 2, inner.y, drawn_width, bh};
  }
  const int drawn_height = static_cast<int>(int64_t{h} * bw / w);
  return {inner.x, inner.y + (bh - drawn_height) / 2, bw, drawn_height};
}

}  // namespace qm
