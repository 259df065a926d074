#include "portrait/resample.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "portrait/resample_internal.h"

namespace qm {
namespace {

bool RectInside(const PixelRect& r, const Picture& picture) {
  return r.x >= 0 && r.y >= 0 && r.width >= 0 && r.height >= 0 &&
         int64_t{r.x} + r.width <= picture.width() && int64_t{r.y} + r.height <= picture.height();
}

void CopyRect(const Picture& source, PixelRect from, Picture* target, PixelRect to) {
  for (int y = 0; y < from.height; ++y) {
    const uint32_t* in = source.row(from.y + y) + from.x;
    std::copy(in, in + from.width, target->row(to.y + y) + to.x);
  }
}

}  // namespace

namespace resample {

const uint32_t* PaddedSource::CopyRow(int y, std::vector<uint32_t>* line) const {
  const size_t w = static_cast<size_t>(from_.width);
  line->resize(w + 4);
  const uint32_t* in = RowAt(y);
  std::copy(in, in + w, line->data() + 2);
  (*line)[0] = (*line)[1] = in[0];
  (*line)[w + 2] = (*line)[w + 3] = in[w - 1];
  return line->data() + 2;
}

}  // namespace resample

Status StretchWithMethod(const Picture& source, PixelRect from, Picture* target, PixelRect to,
                         int method) {
  if (!RectInside(from, source)) return Status::Fail("source rectangle outside the picture");
  if (!RectInside(to, *target)) return Status::Fail("target rectangle outside the picture");
  if (from.width == 0 || from.height == 0) return Status::Fail("source rectangle is empty");
  if (to.width == 0 || to.height == 0) return Status::Ok();
  if (from.width == to.width && from.height == to.height) {
    CopyRect(source, from, target, to);
    return Status::Ok();
  }
  if (method < kResizeSmart || method > kResizeBicubic) return Status::Fail("unknown resize method");

  try {
    std::vector<uint32_t> out(static_cast<size_t>(to.width) * static_cast<size_t>(to.height));
    if (method == kResizeSmart) {
      resample::NearestPixel(source, from, to.width, to.height, out.data());
    } else if (method == kResizeHalftone) {
      resample::AreaAverage(source, from, to.width, to.height, out.data());
    } else {
      const resample::PaddedSource padded(source, from);
      if (method == kResizeSmoothBresenham) {
        resample::SmoothBresenham(padded, to.width, to.height, out.data());
      } else if (method == kResizeBilinear) {
        resample::Bilinear(padded, to.width, to.height, out.data());
      } else {
        resample::Bicubic(padded, to.width, to.height, out.data());
      }
    }
    for (int y = 0; y < to.height; ++y) {
      const uint32_t* in = out.data() + static_cast<size_t>(y) * static_cast<size_t>(to.width);
      std::copy(in, in + to.width, target->row(to.y + y) + to.x);
    }
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory to resize the picture");
  }
  return Status::Ok();
}

}  // namespace qm
