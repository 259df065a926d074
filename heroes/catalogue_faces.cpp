#include "heroes/catalogue_faces.h"

#include <utility>

#include "heroes/value_tables.h"
#include "portrait/portrait_codec.h"

namespace qm {

bool DecodeRecordFace(const HeroCatalogue& catalogue, size_t index, FaceKind kind, Picture* out) {
  if (index >= catalogue.count()) return false;
  const HeroRecord& record = catalogue.record(index);
  if (!record.holds_face(kind)) return false;
  return DecodePortrait(record.face(kind), FaceSize(kind), out).ok();
}

FaceHero FaceHeroOf(const HeroRecord& record) {
  return {record.keyword, record.hero_class, AlignmentOfClass(record.hero_class)};
}

Status StoreNewFaces(HeroCatalogue* catalogue, size_t index, FaceKind kind, NewFaces faces) {
  if (index >= catalogue->count()) return Status::Fail("record " + std::to_string(index) + " does not exist");
  (void)catalogue->ReplaceFace(index, kind, std::move(faces.face.image));  // the index is in range
  if (faces.small) (void)catalogue->ReplaceFace(index, FaceKind::kSmall, std::move(faces.small->image));
  return Status::Ok();
}

Status PutPictureIntoRecord(HeroCatalogue* catalogue, size_t index, const Picture& picture, FaceKind kind,
                            const FaceOptions& options) {
  if (index >= catalogue->count()) return Status::Fail("record " + std::to_string(index) + " does not exist");
  NewFaces faces;
  if (Status s = PutPictureIntoFace(picture, kind, options, FaceHeroOf(catalogue->record(index)), &faces); !s) {
    return s;
  }
  return StoreNewFaces(catalogue, index, kind, std::move(faces));
}

}  // namespace qm
