// Fuzzes the readers of the hero sheet (CSV and JSON) and the code page conversion: any bytes
// must be read without reading out of bounds; CSV that parses must write and parse back to the
// same fields; rows that read must apply to a catalogue without harm (refused or applied, never
// a text longer than its field); UTF-8 that converts into a code page must convert back to
// itself.
//
// The first byte picks the reader: 0 CSV, 1 JSON, 2 code page, anything else all three.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "heroes/code_page.h"
#include "heroes/code_page_guess.h"
#include "heroes/csv_text.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_sheet.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const qm::HeroCatalogue& Catalogue() {
  static const qm::HeroCatalogue catalogue = [] {
    std::vector<qm::HeroRecord> records(6);
    records[0].keyword = "Keyword";
    records[1].keyword = "dead";
    records[1].flags = qm::kHeroReadOnly | qm::kHeroHasLarge | qm::kHeroHasSmall;
    records[2].keyword = "sleeping";
    records[2].flags = records[1].flags;
    // One-letter texts are built, not assigned from literals: GCC 12 at -O3 warns falsely
    // (-Wrestrict) on assigning a one-character literal to a string.
    records[3].keyword = std::string(1, 'a');
    records[4].keyword = std::string(1, 'b');
    records[4].name = std::string(1, 'B');
    records[5].keyword = std::string(1, 'A');  // shares its keyword with record 3 under case folding
    qm::HeroCatalogue c;
    if (!c.Assign(records)) std::abort();
    return c;
  }();
  return catalogue;
}

void ApplyRows(const std::vector<qm::SheetRow>& rows) {
  qm::HeroCatalogue c = Catalogue();
  qm::SheetApply report;
  qm::ApplySheet(rows, qm::CodePage::k1252, &c, &report);
  Check(report.rows_applied + report.refused.size() == rows.size());
  Check(c.count() == Catalogue().count());
  for (const qm::HeroRecord& r : c.records()) {
    Check(r.name.size() <= qm::kNameMaxChars && r.biography.size() <= qm::kBiographyMaxChars);
  }
  Check(c.record(1).name.empty() && c.record(0).name.empty());  // read-only and header rows
}

void FuzzCsv(std::string_view text) {
  std::vector<qm::CsvRecord> records;
  if (qm::ParseCsv(text, &records)) {
    std::string again;
    for (const qm::CsvRecord& r : records) {
      Check(!r.fields.empty());
      qm::AppendCsvRecord(&again, r.fields);
    }
    std::vector<qm::CsvRecord> back;
    Check(qm::ParseCsv(again, &back).ok());
    // A record of one empty field is a blank line once written, which reading skips.
    size_t j = 0;
    for (const qm::CsvRecord& r : records) {
      if (r.fields.size() == 1 && r.fields[0].empty()) continue;
      Check(j < back.size() && back[j].fields == r.fields);
      ++j;
    }
    Check(j == back.size());
  }
  std::vector<qm::SheetRow> rows;
  if (qm::ReadSheetCsv(text, "heroes.csv", &rows)) ApplyRows(rows);
}

void FuzzJson(std::string_view text) {
  std::vector<qm::SheetRow> rows;
  if (qm::ReadSheetJson(text, "heroes.json", &rows)) ApplyRows(rows);
}

void FuzzCodePage(std::string_view text) {
  for (qm::CodePage page : {qm::CodePage::k1250, qm::CodePage::k1251, qm::CodePage::k1252}) {
    std::string bytes;
    if (qm::Utf8ToCodePage(text, page, &bytes)) Check(qm::CodePageToUtf8(bytes, page) == text);
    std::string back;
    Check(qm::Utf8ToCodePage(qm::CodePageToUtf8(text, page), page, &back).ok() == (text.find('\0') == text.npos));
    // Any bytes, cut into texts at line breaks: the guess never names the page they were read in.
    std::vector<std::string_view> texts;
    for (size_t start = 0; start <= text.size();) {
      const size_t end = std::min(text.find('\n', start), text.size());
      texts.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    const std::optional<qm::CodePage> guess = qm::GuessOtherCodePage(texts, page);
    Check(!guess || *guess != page);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0]) {
    case 0: FuzzCsv(text); break;
    case 1: FuzzJson(text); break;
    case 2: FuzzCodePage(text); break;
    default:
      FuzzCsv(text);
      FuzzJson(text);
      FuzzCodePage(text);
  }
  return 0;
}
