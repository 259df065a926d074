#include "heroes/catalogue_faces.h"

#include <utility>

#include "heroes/value_tables.h"
#include "portrait/portrait_codec.h"

namespace qm {

bool DecodeRecordFace(const HeroCatalogue& catalogue, size_t index, FaceKind kind, Picture* out) {
  if (index >= catalogue.count()) return false;
  const HeroRecord& record = catalogue.record(index);
  const bool flagged = kind == FaceKind::kLarge ? record.has_large() : record.has_small();
  const std::vector<uint8_t>& face = kind == FaceKind::kLarge ? record.large_face : record.small_face;
  if (!flagged || face.empty()) return false;
  return DecodePortrait(face, FaceSize(kind), out).ok();
}

Status PutPictureIntoRecord(HeroCatalogue* catalogue, size_t index, const Picture& picture, FaceKind kind,
                            const FaceOptions& options) {
  if (index >= catalogue->count()) return Status::Fail("record " + std::to_string(index) + " does not exist");
  const HeroRecord& record = catalogue->record(index);
  NewFaces faces;
  const FaceHero hero{record.keyword, record.hero_class, AlignmentOfClass(record.hero_class)};
  if (Status s = PutPictureIntoFace(picture, kind, options, hero, &faces); !s) return s;
  if (Status s = catalogue->ReplaceFace(index, kind, std::move(faces.face.image)); !s) return s;
  if (faces.small) return catalogue->ReplaceFace(index, FaceKind::kSmall, std::move(faces.small->image));
  return Status::Ok();
}

}  // namespace qm
