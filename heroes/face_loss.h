// Which faces a save keeps, and which a class change would lose.
//
// A save puts each face into the portrait bundle of its hero's alignment, which follows from
// the class (value_tables.h). Generic and unknown classes have no alignment, so a hero changed
// to one of them still holds its faces in memory, but no save writes them and the next load
// finds none. Editing commands refuse such a change unless told the loss is meant.
//
//   const qm::FaceLoss loss = qm::FacesLostByClass(record, qm::kClassGeneric);
//   if (loss.any()) refuse("would lose its " + loss.Text());   // "large and small faces"
#pragma once

#include <cstdint>
#include <string>

#include "heroes/face_size.h"
#include "heroes/hero_record.h"

namespace qm {

// Whether a save writes the record's face of that size: the record holds one, has a keyword,
// and its class has a portrait bundle.
bool SavesFace(const HeroRecord& record, FaceKind kind);

struct FaceLoss {
  bool large = false;
  bool small = false;
  bool any() const { return large || small; }
  // "large and small faces", "large face" or "small face"; empty when none.
  std::string Text() const;
};

// The faces a save writes now and would no longer write with class `new_class`.
FaceLoss FacesLostByClass(const HeroRecord& record, uint8_t new_class);

}  // namespace qm
