// Face fitting on the editor's bitmaps: a picture bitmap (a loaded file, the clipboard's
// bitmap) becomes the new faces of a hero.
//
//   qm::FaceEdit edit{qm::skin::Options(), {record.keyword, record.hero_class, alignment}};
//   qm::NewFaces faces;
//   qm::Status s = qm::PutPictureIntoFace(picture, qm::FaceKind::kLarge, edit, &faces);
//   // the caller stores faces.face.image (and faces.small's under Auto S.Face Copy)
//
// Only the stretch is done here: the crop of the picture (portrait/face_fit.h) is stretched with
// the platform's StretchBlt in COLORONCOLOR and HALFTONE mode for methods 3 and 4, and by the
// core for methods 5 to 7, which sees only the crop, read from the bitmap in bulk. The stretched
// face then goes through face_fit.h's FinishFaces (ring, mask, encoding, derived small face),
// with the same platform stretch for the small face.
//
// Failure (no faces): no picture, a crop of zero width or height or outside the picture, an
// unknown method, a crop larger than kMaxPicturePixels, memory or GDI objects that cannot be
// had, or a face that cannot be encoded.
#pragma once

#include <windows.h>

#include "base/status.h"
#include "heroes/face_size.h"
#include "portrait/face_fit.h"

namespace qm {

// What a new face is made with: the option panel's settings at the time of the call and the
// hero whose keyword the image carries and whose class picks the ring.
struct FaceEdit {
  FaceOptions options;
  FaceHero hero;
};

Status PutPictureIntoFace(HBITMAP picture, FaceKind kind, const FaceEdit& edit, NewFaces* out);

}  // namespace qm
