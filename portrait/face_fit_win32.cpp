#include "portrait/face_fit_win32.h"

#include <new>
#include <utility>

#include "heroes/value_tables.h"
#include "portrait/bitmap_pixels_win32.h"
#include "portrait/dib_bits_win32.h"
#include "portrait/picture_file.h"

namespace qm {
namespace {

bool PlatformMethod(int method) { return method == kResizeSmart || method == kResizeHalftone; }

bool CropInside(PixelRect crop, int width, int height) {
  return crop.x >= 0 && crop.y >= 0 && crop.width > 0 && crop.height > 0 && int64_t{crop.x} + crop.width <= width &&
         int64_t{crop.y} + crop.height <= height;
}

// Stretches the crop of `source` (a bitmap not selected anywhere) over `face` with the
// platform's stretch in the method's own stretch mode.
Status PlatformStretch(HBITMAP source, PixelRect from, int method, Picture* face) {
  MemoryDc source_dc(nullptr);
  if (!source_dc) return Status::Fail("no device context");
  SelectInDc keep(source_dc.get(), source);
  if (!keep.ok()) return Status::Fail("the picture cannot be selected");
  DibCanvas canvas(nullptr, face->width(), face->height());
  if (!canvas.ok()) return Status::Fail("no face canvas");
  if (GetStretchBltMode(canvas.dc()) != method) SetStretchBltMode(canvas.dc(), method);
  if (method == HALFTONE) SetBrushOrgEx(canvas.dc(), 0, 0, nullptr);
  if (!StretchBlt(canvas.dc(), 0, 0, face->width(), face->height(), source_dc.get(), from.x, from.y, from.width,
                  from.height, SRCCOPY)) {
    return Status::Fail("the platform stretch failed");
  }
  *face = CanvasPicture(canvas);
  return Status::Ok();
}

bool SameSize(PixelRect from, const Picture& face) {
  return from.width == face.width() && from.height == face.height();
}

// Stretches the crop of a picture bitmap over `face`: methods 3 and 4 go to the platform (equal
// sizes aside, which copy), the others to the core, which sees only the crop.
Status StretchBitmap(HBITMAP picture, PixelRect from, int method, Picture* face) {
  if (PlatformMethod(method) && !SameSize(from, *face)) return PlatformStretch(picture, from, method, face);
  if (int64_t{from.width} * from.height > static_cast<int64_t>(kMaxPicturePixels)) {
    return Status::Fail("the picture is too large");
  }
  Picture source;
  if (!ReadBitmapRect(picture, from, &source)) return Status::Fail("the picture cannot be read");
  return CoreFaceStretch(source, {0, 0, from.width, from.height}, method, face);
}

// The FaceStretch of the editor: the derived small face is stretched as the picture was.
Status EditorFaceStretch(const Picture& source, PixelRect from, int method, Picture* face) {
  if (!CropInside(from, source.width(), source.height())) return Status::Fail("the crop lies outside the face");
  if (!PlatformMethod(method) || SameSize(from, *face)) return CoreFaceStretch(source, from, method, face);
  const GdiBitmap bitmap = MakePictureBitmap(source);
  if (!bitmap) return Status::Fail("no bitmap for the large face");
  return PlatformStretch(bitmap.get(), from, method, face);
}

}  // namespace

Status PutPictureIntoFace(HBITMAP picture, FaceKind kind, const FaceEdit& edit, NewFaces* out) {
  if (picture == nullptr) return Status::Fail("no picture");
  try {
    int width = 0, height = 0;
    if (!BitmapSize(picture, &width, &height)) return Status::Fail("no picture");
    const PixelRect crop = FittingRectangle(edit.options, width, height).AsPixelRect();
    if (!CropInside(crop, width, height)) return Status::Fail("the crop lies outside the picture");
    const int size = FaceSize(kind);
    Picture face(size, size);
    if (Status s = StretchBitmap(picture, crop, edit.options.resize_method, &face); !s) return s;
    return FinishFaces(std::move(face), kind, edit.options, edit.hero, EditorFaceStretch, out);
  } catch (const std::bad_alloc&) {
    return Status::Fail("out of memory");
  }
}

}  // namespace qm
