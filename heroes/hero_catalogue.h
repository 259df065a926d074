// The hero catalogue: every hero of the game's hero table with its texts, ids and both
// portrait images, the one model the editor, the payload builder and qlmk work on.
//
//   qm::HeroCatalogue catalogue;
//   qm::CatalogueLoad load;
//   qm::Status s = catalogue.Load(qm::GamePathsForFolder(dir), &load);  // table + 12 bundles
//   catalogue.SetName(5, "Aldric");                     // editing operations: one record each
//   catalogue.ReplaceFace(5, qm::FaceKind::kLarge, image);
//   s = catalogue.Save(paths.working_archive);          // table, then all twelve bundles
//
// Records (at most kMaxHeroRecords): 0 the table's header row (never shown, never written),
// 1 "dead" and 2 "sleeping" (read-only pseudo-heroes of class 0 that may take both faces;
// written only to the death bundles), 3.. the table's heroes in order.
//
// Portrait bundles ("layers.icons.hero.<alignment>.82.h4d" large, ".52.h4d" small, one pair per
// alignment): a u16 image count and that many portrait images back to back; each image carries
// its hero's keyword as its name. Loading hands each image to the first record with that
// keyword (ASCII case folded, the header row included), skipping images no keyword matches.
// Saving collects, for each alignment, the faces of records 1.. whose keyword is not empty and
// whose class maps to that alignment: class 0 goes to death, generic (1) and unknown classes
// to no bundle, so their faces are not saved.
//
// Load: the table from the working archive, else the text archive; each bundle from the working
// archive, else the base archive. It fails when the table is in neither archive or yields no
// row (the catalogue is then empty), and when a bundle is in neither archive; the other
// bundles are still distributed, so a save after a failed load does not replace bundles that
// could be read with empty ones. A damaged bundle (an image running past the bundle's end or
// without rows) stops its own distribution at that image; the load reports it.
//
// Save writes every part even after one failed and reports failure when any write failed (the
// table, or a bundle, each named in the report). Entries of any size are written. An empty
// catalogue writes nothing. The thirteen entries go into the archive as one commit
// (PutStoredEntries): a power cut at any moment leaves the whole old archive or the whole saved
// one; only the entries whose stored bytes changed are written, every record is re-stamped; a
// failed write or flush fails every entry and leaves the archive as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "heroes/face_size.h"
#include "heroes/game_paths.h"
#include "heroes/hero_record.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"

namespace qm {

// "layers.icons.hero.<token>.82.h4d" (large) or ".52.h4d" (small); empty for an alignment
// outside 1..6.
std::string BundleEntryName(uint8_t alignment, FaceKind kind);

struct BundleDistribution {
  size_t declared = 0;   // the image count the bundle states
  size_t walked = 0;     // images whose length could be worked out
  size_t placed = 0;     // images stored in a record
  size_t unmatched = 0;  // images whose name is no record's keyword
  bool damaged = false;  // the bundle ended inside its header or an image
  bool ok() const { return !damaged; }
};

struct BundleLoad {
  std::string name;
  std::string source;  // the archive it came from; empty when missing
  BundleDistribution distribution;
};

struct CatalogueLoad {
  std::string table_source;  // archive the table came from; empty when missing
  HeroTableParse parse;
  std::vector<BundleLoad> bundles;  // the twelve, small then large per alignment 1..6

  size_t MissingBundles() const;
  size_t DamagedBundles() const;
  size_t UnmatchedImages() const;
};

struct CatalogueSave {
  bool table_written = false;
  std::vector<std::string> failed;  // entry names whose write failed, each with its reason
};

class HeroCatalogue {
 public:
  // Replaces the content with the game's. See the top of this file.
  Status Load(const GamePaths& paths, CatalogueLoad* report = nullptr, const OverlongReport& overlong = {});

  // Replaces the content with `records` laid out as the parser lays them out (0 header, 1 and
  // 2 the pseudo-heroes, heroes from 3); for builders and tests. Fails for more than
  // kMaxHeroRecords records, leaving the catalogue as it was.
  Status Assign(std::vector<HeroRecord> records);
  void Clear();

  size_t count() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const std::vector<HeroRecord>& records() const { return records_; }
  const HeroRecord& record(size_t index) const { return records_[index]; }

  // Lowers the record count by one (the payload builder drops a last record it cannot use).
  void DropLastRecord();

  // The first record 0..count-1 whose keyword equals `keyword` (ASCII case folded); -1 when
  // none does.
  int FindByKeyword(std::string_view keyword) const;

  // Puts each image of the bundle into the record with its keyword (see above).
  BundleDistribution DistributeBundle(std::span<const uint8_t> bundle, FaceKind kind);

  // Replaces `out` with the bundle of the faces of one alignment and size.
  void CollectBundle(uint8_t alignment, FaceKind kind, std::vector<uint8_t>* out) const;

  // Writes the table and the twelve bundles into `working_archive`.
  Status Save(const std::string& working_archive, CatalogueSave* report = nullptr) const;

  // True when the record has a keyword, a name, a class and both faces.
  bool IsComplete(size_t index) const;

  // Editing operations on record `index`. They fail (changing nothing) for an index outside the
  // catalogue and for a read-only record. Texts keep at most the field's characters (64 keyword
  // and name, 512 biography).
  Status SetKeyword(size_t index, std::string_view text);
  Status SetName(size_t index, std::string_view text);
  Status SetBiography(size_t index, std::string_view text);
  Status SetSex(size_t index, uint8_t sex_id);
  Status SetClass(size_t index, uint8_t class_id);
  // By localized label, as the combo boxes give them (`text` looks the labels up): an unknown
  // label stores 0.
  Status SetSexByLabel(size_t index, std::string_view label, LabelText text);
  Status SetClassByLabel(size_t index, std::string_view label, LabelText text);
  Status SetAllowedBy(size_t index, bool allowed);
  Status ToggleAllowedBy(size_t index);

  // Stores `image` as the record's face of that size, releasing the old one. Face flags are
  // not touched: callers check them. Fails only for an index out of range.
  Status ReplaceFace(size_t index, FaceKind kind, std::vector<uint8_t> image);

 private:
  // Applies `change` to record `index` when it exists and is not read-only.
  template <typename Change>
  Status Edit(size_t index, Change change);

  std::vector<HeroRecord> records_;
};

}  // namespace qm
