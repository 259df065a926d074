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

PaddedSource::PaddedSource(const Picture& picture, PixelRect from)
    : width_(from.width), height_(from.height), stride_(static_cast<size_t>(from.width) + 4),
      pixels_(stride_ * (static_cast<size_t>(from.height) + 4)) {
  for (int y = 0; y < height_; ++y) {
    uint32_t* line = pixels_.data() + static_cast<size_t>(y + 2) * stride_;
    const uint32_t* in = picture.row(from.y + y) + from.x;
    std::copy(in, in + width_, line + 2);
    line[0] = line[1] = line[2];
    line[width_ + 2] = line[width_ + 3] = line[width_ + 1];
  }
  const uint32_t* first = pixels_.data() + 2 * stride_;
  const uint32_t* last = pixels_.data() + static_cast<size_t>(height_ + 1) * stride_;
  for (int y : {0, 1}) std::copy(first, first + stride_, pixels_.data() + y * stride_);
  for (int y : {height_ + 2, height_ + 3}) {
    std::copy(last, last + stride_, pixels_.data() + static_cast<size_t>(y) * stride_);
  }
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
