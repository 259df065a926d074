// What differs between two hero catalogues, hero by hero and field by field: for `qlmk import
// --dry-run` (the catalogue now against the one an import would save) and `qlmk patch diff`
// (the game's catalogue against a patch's).
//
//   qm::CatalogueDiff diff = qm::DiffCatalogues(current.records(), proposed.records());
//   std::fputs(qm::CatalogueDiffText(diff).c_str(), stdout);
//     12 Aldric: name "Old" -> "New"
//     12 Aldric: large face changed
//     14 Corin: class knight -> generic
//     14 Corin: large face removed
//     998 Xyz: added
//   std::fputs(qm::CatalogueDiffJson(diff).c_str(), stdout);
//
// Records are matched by number, from 1 (record 0 is the table's header row). A number that
// only the proposed catalogue has is "added", one that only the current has is "dropped";
// those list no fields. Fields compared, in this order: keyword, name, biography, sex, class,
// Allowed By, extra, large face, small face. Texts are compared as bytes; sex and class by id
// (shown as tokens, or "none"); Allowed By as yes/no; faces by their image bytes as a save
// writes them, so a face whose hero changes to a class without a portrait bundle (generic) is
// listed as removed, since the save drops it (heroes/face_loss.h).
//
// Texts are game texts in a code page; the printers show them in UTF-8 through `page`. The
// text form quotes texts and escapes control characters (base/quoted_text.h), so each change
// stays on one line. The heading of a hero is its number and its keyword (the proposed
// keyword for an added record, else the current one), escaped likewise.
//
// JSON form: {"changes": [{"record": 12, "keyword": "Aldric", "change": "changed",
//   "fields": [{"field": "name", "before": "Old", "after": "New"},
//              {"field": "large_face", "before": "present", "after": "present"}]}, ...]}
// Field names: keyword, name, biography, sex, class, allowed, extra, large_face, small_face
// (the first six as `qlmk heroes --json` names them); faces show "present" or "none" on each side; "change"
// is "changed", "added" or "dropped".
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "heroes/code_page.h"
#include "heroes/hero_record.h"

namespace qm {

enum class DiffField { kKeyword, kName, kBiography, kSex, kClass, kAllowedBy, kExtra, kLargeFace, kSmallFace };

// "keyword", "name", "biography", "sex", "class", "allowed", "extra", "large_face", "small_face".
const char* DiffFieldName(DiffField field);

struct FieldChange {
  DiffField field;
  // Texts as stored (code page bytes); tokens or "none" for sex and class; "yes" or "no" for
  // Allowed By; "present" or "none" for faces.
  std::string before, after;
};

enum class HeroChangeKind { kChanged, kAdded, kDropped };

struct HeroChange {
  size_t record = 0;
  std::string keyword;
  HeroChangeKind kind = HeroChangeKind::kChanged;
  std::vector<FieldChange> fields;  // empty for added and dropped records
};

struct CatalogueDiff {
  std::vector<HeroChange> heroes;  // by record number
  bool empty() const { return heroes.empty(); }
  // Changed fields plus added and dropped records: the number of lines of the text form.
  size_t LineCount() const;
};

CatalogueDiff DiffCatalogues(std::span<const HeroRecord> current, std::span<const HeroRecord> proposed);

// One line per changed field, added or dropped record; empty for no difference.
std::string CatalogueDiffText(const CatalogueDiff& diff, CodePage page = kDefaultCodePage);
std::string CatalogueDiffJson(const CatalogueDiff& diff, CodePage page = kDefaultCodePage);

}  // namespace qm
