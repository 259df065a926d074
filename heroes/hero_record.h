// One hero in memory: the texts and ids of one hero table row, and its two portrait images.
//
// A record starts all zero: empty texts, ids 0, no faces, no flags. Text fields hold at most
// the named number of characters; code that stores into them (the parser, the catalogue's
// editing operations) keeps the first characters of a longer text. Faces are complete portrait
// image records owned by the record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "heroes/face_size.h"

namespace qm {

// The catalogue's fixed capacity: the header row, the two pseudo-heroes and 997 heroes.
constexpr size_t kMaxHeroRecords = 1000;

constexpr size_t kKeywordMaxChars = 64;
constexpr size_t kNameMaxChars = 64;
constexpr size_t kBiographyMaxChars = 512;
constexpr size_t kExtraMaxChars = 512;

// Record flags.
constexpr uint32_t kHeroReadOnly = 1u << 0;  // texts, sex, class and Allowed By are not editable
constexpr uint32_t kHeroHasLarge = 1u << 1;  // holds (or, for a pseudo-hero, may receive) an 82x82 face
constexpr uint32_t kHeroHasSmall = 1u << 2;  // the same for the 52x52 face

constexpr uint32_t FaceFlag(FaceKind kind) { return kind == FaceKind::kLarge ? kHeroHasLarge : kHeroHasSmall; }

struct HeroRecord {
  std::string keyword;    // identifier, also the name inside its portrait images
  std::string name;       // display name
  std::string biography;
  std::string extra;      // the table's seventh, unnamed column
  uint8_t sex = 0;        // SexId; 0 = none or unknown
  uint8_t hero_class = 0; // ClassId; 0 = none or unknown
  uint8_t allowed_by = 0; // nonzero = allowed
  std::vector<uint8_t> large_face;  // empty = none
  std::vector<uint8_t> small_face;
  uint32_t flags = 0;

  bool read_only() const { return (flags & kHeroReadOnly) != 0; }
  bool has_large() const { return (flags & kHeroHasLarge) != 0; }
  bool has_small() const { return (flags & kHeroHasSmall) != 0; }
  bool has_face(FaceKind kind) const { return (flags & FaceFlag(kind)) != 0; }

  std::vector<uint8_t>& face(FaceKind kind) { return kind == FaceKind::kLarge ? large_face : small_face; }
  const std::vector<uint8_t>& face(FaceKind kind) const { return kind == FaceKind::kLarge ? large_face : small_face; }
  // The face of that size is flagged and has bytes: what can be shown, copied or exported.
  bool holds_face(FaceKind kind) const { return has_face(kind) && !face(kind).empty(); }
};

// Record roles in the catalogue: 0 is the table's header row, 1 and 2 the pseudo-heroes the
// parser inserts, and the heroes of the table follow from 3.
constexpr size_t kHeaderRecord = 0;
constexpr size_t kDeadRecord = 1;
constexpr size_t kSleepingRecord = 2;
constexpr size_t kFirstHeroRecord = 3;

}  // namespace qm
