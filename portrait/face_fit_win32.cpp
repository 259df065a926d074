#include "portrait/face_fit_win32.h"

#include <new>
#include <utility>
#include <vector>

#include "heroes/value_tables.h"
#include "portrait/bitmap_pixels_win32.h"
#include "portrait/dib_bits_win32.h"
#include "portrait/face_art.h"
#include "portrait/picture_file.h"
#include "portrait/portrait_codec.h"
#include "portrait/resample.h"

namespace qm {
namespace {

bool PlatformMethod(int method) { return method == kResizeSmart || method == kResizeHalftone; }

bool CropInside(const FitRect& crop, int width, int height) {
  return crop.left >= 0 && crop.top >= 0 && crop.right > crop.left && crop.bottom > crop.top &&
         crop.right <= width && crop.bottom <= height;
}

// Stretches the crop of `source` (a bitmap not selected anywhere) to size x size with the
// platform's stretch in the method's own stretch mode.
Status PlatformStretch(HBITMAP source, PixelRect from, int method, int size, Picture* face) {
  MemoryDc source_dc(nullptr);
  if (!source_dc) return Status::Fail("no device context");
  SelectInDc keep(source_dc.get(), source);
  if (!keep.ok()) return Status::Fail("the picture cannot be selected");
  DibCanvas canvas(nullptr, size, size);
  if (!canvas.ok()) return Status::Fail("no face canvas");
  if (GetStretchBltMode(canvas.dc()) != method) SetStretchBltMode(canvas.dc(), method);
  if (method == HALFTONE) SetBrushOrgEx(canvas.dc(), 0, 0, nullptr);
  if (!StretchBlt(canvas.dc(), 0, 0, size, size, source_dc.get(), from.x, from.y, from.width,
                  from.height, SRCCOPY)) {
    return Status::Fail("the platform stretch failed");
  }
  *face = CanvasPicture(canvas);
  return Status::Ok();
}

// Stretches the crop of a picture bitmap into a size x size face with the method: equal sizes
// copy, methods 3 and 4 go to the platform, 5 to 7 to the core (which sees only the crop).
Status StretchBitmapIntoFace(HBITMAP picture, const FitRect& crop, int method, int size,
                             Picture* face) {
  const PixelRect from = crop.AsPixelRect();
  if (PlatformMethod(method) && !(from.width == size && from.height == size)) {
    return PlatformStretch(picture, from, method, size, face);
  }
  if (int64_t{from.width} * from.height > static_cast<int64_t>(kMaxPicturePixels)) {
    return Status::Fail("the picture is too large");
  }
  Picture source;
  if (!ReadBitmapRect(picture, from, &source)) return Status::Fail("the picture cannot be read");
  Picture out(size, size);
  if (Status s = StretchWithMethod(source, {0, 0, from.width, from.height}, &out,
                                   {0, 0, size, size}, method);
      !s) {
    return s;
  }
  *face = std::move(out);
  return Status::Ok();
}

// The same from a face held as a picture (Derive small face).
Status StretchPictureIntoFace(const Picture& large, const FitRect& crop, int method, int size,
                              Picture* face) {
  if (!CropInside(crop, large.width(), large.height())) {
    return Status::Fail("the crop lies outside the face");
  }
  if (PlatformMethod(method)) {
    const GdiBitmap bitmap = MakePictureBitmap(large);
    if (!bitmap) return Status::Fail("no bitmap for the large face");
    return StretchBitmapIntoFace(bitmap.get(), crop, method, size, face);
  }
  Picture out(size, size);
  if (Status s = StretchWithMethod(large, crop.AsPixelRect(), &out, {0, 0, size, size}, method);
      !s) {
    return s;
  }
  *face = std::move(out);
  return Status::Ok();
}

struct MadeFace {
  Picture face;
  std::vector<uint8_t> image;
};

Status FinishFace(Picture face, bool ring, const HeroRecord& record, MadeFace* out) {
  const int size = face.width();
  if (ring) {
    RingStep(&face, MakeRingOverlay(size), record.hero_class, AlignmentOfClass(record.hero_class));
  }
  ApplyFaceMask(&face, MakeFaceMask(size));
  std::vector<uint8_t> image;
  if (Status s = EncodePortrait(face, record.keyword, &image); !s) return s;
  out->face = std::move(face);
  out->image = std::move(image);
  return Status::Ok();
}

Status MakeFaces(HBITMAP picture, FaceKind kind, const FaceEdit& edit, MadeFace* made,
                 std::optional<MadeFace>* small) {
  int width = 0, height = 0;
  if (!BitmapSize(picture, &width, &height)) return Status::Fail("no picture");
  const FaceOptions& options = edit.options;
  const int size = FaceSize(kind);
  const FitRect crop = FittingRectangle(options, width, height);
  if (!CropInside(crop, width, height)) return Status::Fail("the crop lies outside the picture");

  Picture face;
  if (Status s = StretchBitmapIntoFace(picture, crop, options.resize_method, size, &face); !s) {
    return s;
  }
  if (Status s = FinishFace(std::move(face), options.auto_ring, *edit.record, made); !s) return s;

  if (options.small_face_copy && kind == FaceKind::kLarge) {
    const FitRect small_crop = FittingRectangle(options, kLargeFaceSize, kLargeFaceSize);
    Picture small_face;
    if (Status s = StretchPictureIntoFace(made->face, small_crop, options.resize_method,
                                          kSmallFaceSize, &small_face);
        !s) {
      return s;
    }
    MadeFace derived;
    // No ring step: the large face's ring scales down with it.
    if (Status s = FinishFace(std::move(small_face), false, *edit.record, &derived); !s) return s;
    *small = std::move(derived);
  }
  return Status::Ok();
}

}  // namespace

Status PutPictureIntoFace(HBITMAP picture, FaceKind kind, const FaceEdit& edit) {
  if (picture == nullptr) return Status::Fail("no picture");
  if (edit.record == nullptr) return Status::Fail("no record");
  if (edit.View(kind) == nullptr) return Status::Fail("no face view");
  MadeFace made;
  std::optional<MadeFace> small;
  try {
    if (Status s = MakeFaces(picture, kind, edit, &made, &small); !s) return s;
  } catch (const std::bad_alloc&) {
    return Status::Fail("out of memory");
  }

  // The views show the new faces at once; the record takes the images.
  if (!WriteBitmapPixels(edit.View(kind), made.face)) {
    return Status::Fail("the face view cannot be written");
  }
  if (small && edit.small_view != nullptr) WriteBitmapPixels(edit.small_view, small->face);
  HeroRecord& record = *edit.record;
  (kind == FaceKind::kLarge ? record.large_face : record.small_face) = std::move(made.image);
  if (small) record.small_face = std::move(small->image);
  return Status::Ok();
}

}  // namespace qm
