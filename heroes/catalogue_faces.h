// Faces of catalogue records: painting a record's stored face, and putting a new picture into
// a record through face fitting.
//
//   qm::Picture shown;
//   if (qm::DecodeRecordFace(catalogue, index, qm::FaceKind::kLarge, &shown)) ... show it
//   qm::Status s = qm::PutPictureIntoRecord(&catalogue, index, picture, qm::FaceKind::kLarge, options);
//
//   // Faces fitted elsewhere (the editor stretches on its bitmaps):
//   qm::NewFaces faces;  ...fitted for qm::FaceHeroOf(catalogue.record(index))...
//   s = qm::StoreNewFaces(&catalogue, index, qm::FaceKind::kLarge, std::move(faces));
//
// DecodeRecordFace succeeds when the record has the face flag of that size, holds face bytes,
// and they decode; otherwise the face is not shown.
//
// PutPictureIntoRecord fits the picture into a face with the record's keyword and the ring of
// its class (portrait/face_fit.h) and replaces the record's face of that size; under Auto S.Face
// Copy a new large face replaces the small face as well. The face flags are not changed: the
// callers (Load, Paste, drop) only come here when the record has the flag of that size. When
// fitting or encoding fails the record keeps its old faces.
#pragma once

#include <cstddef>

#include "base/status.h"
#include "heroes/face_size.h"
#include "heroes/hero_catalogue.h"
#include "portrait/face_fit.h"
#include "portrait/picture.h"

namespace qm {

bool DecodeRecordFace(const HeroCatalogue& catalogue, size_t index, FaceKind kind, Picture* out);

Status PutPictureIntoRecord(HeroCatalogue* catalogue, size_t index, const Picture& picture, FaceKind kind,
                            const FaceOptions& options);

// The hero face fitting makes a face for: the record's keyword, class and the class's alignment.
FaceHero FaceHeroOf(const HeroRecord& record);

// Replaces the record's face of `kind` with the new one, and its small face with the derived
// one when there is one. Fails only for an index out of range, changing nothing.
Status StoreNewFaces(HeroCatalogue* catalogue, size_t index, FaceKind kind, NewFaces faces);

}  // namespace qm
