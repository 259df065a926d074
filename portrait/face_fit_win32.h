// Face fitting on the editor's bitmaps: a picture bitmap (a loaded file, the clipboard's
// bitmap) becomes the selected hero's face.
//
//   qm::FaceEdit edit{&record, qm::skin::Options(), large_view, small_view};
//   qm::Status s = qm::PutPictureIntoFace(picture, qm::FaceKind::kLarge, edit);
//
// The picture is cropped by the options (ranges, aspect lock: portrait/face_fit.h), stretched
// into the face (methods 3 and 4 with the platform's StretchBlt in COLORONCOLOR and HALFTONE
// mode, methods 5 to 7 by the core), ringed under Use Auto-Ring (pixels exactly magenta take
// the ring colour of the hero's alignment), masked to the round portrait and encoded. On
// success the face view bitmap of that size shows the new face and the record's face bytes of
// that size are replaced; with Auto S.Face Copy a new large face also makes the small face
// (small view and small bytes). The record's face flags are not touched.
//
// Pixels move between GDI and the core in bulk (GetDIBits / SetDIBits / DIB sections); only
// the crop of the picture is converted for the computed methods.
//
// Failure (nothing changed: views and record keep their old faces): no picture, a crop of zero
// width or height or outside the picture, an unknown method, a picture larger than
// kMaxPicturePixels, memory or GDI objects that cannot be had, or a face that cannot be encoded.
#pragma once

#include <windows.h>

#include "base/status.h"
#include "heroes/hero_record.h"
#include "portrait/face_fit.h"
#include "portrait/face_size.h"

namespace qm {

// What Put picture into face works on: the selected record, the option panel's settings at the
// time of the call and the two face view bitmaps (82 x 82 and 52 x 52, owned by the skin).
struct FaceEdit {
  HeroRecord* record = nullptr;
  FaceOptions options;
  HBITMAP large_view = nullptr;
  HBITMAP small_view = nullptr;

  HBITMAP View(FaceKind kind) const { return kind == FaceKind::kLarge ? large_view : small_view; }
};

Status PutPictureIntoFace(HBITMAP picture, FaceKind kind, const FaceEdit& edit);

}  // namespace qm
