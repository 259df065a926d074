// The hero catalogue as a sheet for modders' tools: one row per record, as CSV for
// spreadsheets and as JSON for scripts, and the way back into the catalogue.
//
//   std::vector<qm::SheetRow> rows = qm::SheetRowsOf(catalogue, qm::CodePage::k1252);
//   std::string csv = qm::SheetCsv(rows), json = qm::SheetJson(rows);
//   ...
//   qm::Status s = qm::ReadSheetCsv(text, "heroes.csv", &rows);   // or ReadSheetJson
//   qm::SheetApply report;
//   qm::ApplySheet(rows, qm::CodePage::k1252, &catalogue, &report);
//
// Columns (CSV header row, JSON member names; the names of `qlmk heroes --json` where it has
// them): record, keyword, name, biography, sex, class, alignment, allowed, read_only,
// has_large, has_small, role. Every record 0 .. count-1 has a row, so the sheet mirrors the
// table; role says "header" (record 0, the table's header row), "pseudo-hero" (1 "dead" and 2
// "sleeping") or "hero". Texts are UTF-8, converted from the game's code page. sex and class
// are tokens of the value tables or empty for none; allowed and the flags are yes/no in CSV
// and true/false in JSON. alignment, read_only, has_large, has_small and role follow from the
// catalogue and are not read back. The table's seventh (unnamed) column is not in the sheet
// and is never changed.
//
// Reading checks the form only: the CSV needs a header row that names record, keyword, name,
// biography, sex, class and allowed (in any order; the derived columns may be left out; any
// other column is refused), separated by commas, semicolons or tabs as its header row is (a
// spreadsheet's locale decides), and every row as many fields as the header, in UTF-8; a
// UTF-16 file is refused as such. JSON needs an array of objects with those members (strings;
// record a whole number; allowed true or false) and nothing else. Errors name the file and
// the line and column (CSV) or the element (JSON, 1-based).
//
// ApplySheet checks each row as a whole and applies it only when every field is sound, through
// the catalogue's editing operations: the record must exist and appear in one row only, its
// keyword must be the record's own, ASCII case folded (keywords are not edited), texts must
// convert into the code page and fit their fields (64 characters for a name, 512 for a
// biography), sex and class must be known tokens or empty, allowed yes or no (ASCII case
// folded), and a record that is the header row or read-only may not change. A class without a
// portrait bundle (generic) would make a save drop the hero's faces (heroes/face_loss.h): such
// a row is refused unless the loss is allowed, and then applied with a warning. Rows may be
// left out: their records stay as they are.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "heroes/code_page.h"
#include "heroes/hero_catalogue.h"

namespace qm {

struct SheetRow {
  std::string where;  // for messages: "heroes.csv line 14", "heroes.json element 12"
  std::string record;  // the record number as written
  std::string keyword, name, biography, sex, hero_class, allowed;
  // Derived from the catalogue; written, not read.
  std::string alignment, read_only, has_large, has_small, role;
};

std::vector<SheetRow> SheetRowsOf(const HeroCatalogue& catalogue, CodePage page);

std::string SheetCsv(std::span<const SheetRow> rows);   // with a UTF-8 byte order mark
std::string SheetJson(std::span<const SheetRow> rows);

// `file` names the file in messages. *rows is replaced only on success.
Status ReadSheetCsv(std::string_view text, const std::string& file, std::vector<SheetRow>* rows);
Status ReadSheetJson(std::string_view text, const std::string& file, std::vector<SheetRow>* rows);

struct SheetApply {
  std::vector<std::string> refused;    // one line per refused row: where, record, field, why
  std::vector<SheetRow> refused_rows;  // the same rows as read
  size_t refused_for_face_loss = 0;    // of them, rows whose class change would lose faces
  std::vector<std::string> warnings;   // applied, but worth knowing
  size_t rows_applied = 0;             // rows that passed (changed or not)
};

enum class FaceLossRule { kRefuse, kAllow };

void ApplySheet(std::span<const SheetRow> rows, CodePage page, HeroCatalogue* catalogue, SheetApply* report,
                FaceLossRule face_loss = FaceLossRule::kRefuse);

// A row that `a` refused and `b` did not refuse alike (the same record and values, wherever the
// row stands); nullptr when `b` refused every row `a` did. For telling whether the CSV and the
// JSON form of one sheet are the same edit.
const SheetRow* RefusedOnlyIn(const SheetApply& a, const SheetApply& b);

}  // namespace qm
