#include "heroes/face_loss.h"

#include "heroes/value_tables.h"

namespace qm {

bool SavesFace(const HeroRecord& record, FaceKind kind) {
  return !record.face(kind).empty() && !record.keyword.empty() && AlignmentOfClass(record.hero_class) != kAlignmentNone;
}

std::string FaceLoss::Text() const {
  if (large && small) return "large and small faces";
  if (large) return "large face";
  if (small) return "small face";
  return "";
}

FaceLoss FacesLostByClass(const HeroRecord& record, uint8_t new_class) {
  FaceLoss loss;
  if (AlignmentOfClass(new_class) != kAlignmentNone) return loss;  // the faces move to another bundle
  loss.large = SavesFace(record, FaceKind::kLarge);
  loss.small = SavesFace(record, FaceKind::kSmall);
  return loss;
}

}  // namespace qm
