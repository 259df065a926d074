#include "heroes/hero_sheet.h"

#include <map>
#include <utility>

#include "base/ascii.h"
#include "base/json_string.h"
#include "base/quoted_text.h"
#include "heroes/csv_text.h"
#include "heroes/face_loss.h"
#include "heroes/hero_sheet_columns.h"
#include "heroes/value_tables.h"

namespace qm {
namespace {

using sheet::kColumns;

const char* YesNo(bool v) { return v ? "yes" : "no"; }

const char* RoleOf(size_t index) {
  if (index == kHeaderRecord) return "header";
  if (index == kDeadRecord || index == kSleepingRecord) return "pseudo-hero";
  return "hero";
}

bool ParseRecordNumber(const std::string& text, size_t* out) {
  if (text.empty() || text.size() > 9) return false;
  size_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<size_t>(c - '0');
  }
  *out = v;
  return true;
}

// Checks one row against its record and works out the values to store; false (with *why) when
// any field is unsound.
struct RowValues {
  std::string name, biography;
  uint8_t sex = 0, hero_class = 0;
  bool allowed = false;
};

bool TextField(const std::string& utf8, CodePage page, size_t max_chars, const char* field, std::string* out,
               std::string* why) {
  if (Status s = Utf8ToCodePage(utf8, page, out); !s) {
    *why = std::string(field) + ": " + s.why();
    return false;
  }
  if (out->size() > max_chars) {
    *why = std::string(field) + ": " + std::to_string(out->size()) + " characters, a " + field + " holds at most " +
           std::to_string(max_chars);
    return false;
  }
  return true;
}

bool TokenField(const std::string& text, ValueTable table, const char* field, const char* known, uint8_t* out,
                std::string* why) {
  if (text.empty()) {
    *out = 0;
    return true;
  }
  const uint32_t id = IdOfToken(table, text);
  if (id == 0) {
    *why = std::string(field) + ": unknown " + field + " " + QuotedText(text) + " (" + known + ", or empty for none)";
    return false;
  }
  *out = static_cast<uint8_t>(id);
  return true;
}

bool CheckRow(const SheetRow& row, const HeroRecord& record, CodePage page, RowValues* v, std::string* why) {
  std::string keyword;
  // Keywords compare as the game compares them, ASCII case folded.
  if (Status s = Utf8ToCodePage(row.keyword, page, &keyword); !s || !AsciiEqualNoCase(keyword, record.keyword)) {
    *why = "keyword: " + QuotedText(row.keyword) + " is not the record's keyword " +
           QuotedText(CodePageToUtf8(record.keyword, page)) + " (keywords cannot be changed)";
    return false;
  }
  if (!TextField(row.name, page, kNameMaxChars, "name", &v->name, why)) return false;
  if (!TextField(row.biography, page, kBiographyMaxChars, "biography", &v->biography, why)) return false;
  if (!TokenField(row.sex, kSexTable, "sex", "male or female", &v->sex, why)) return false;
  if (!TokenField(row.hero_class, kClassTable, "class",
                  "generic, archer, barbarian, knight, priest, druid, mage, lord, necromancer, sorcerer, thief or "
                  "death_knight",
                  &v->hero_class, why)) {
    return false;
  }
  if (AsciiEqualNoCase(row.allowed, "yes")) {
    v->allowed = true;
  } else if (AsciiEqualNoCase(row.allowed, "no")) {
    v->allowed = false;
  } else {
    *why = "allowed: " + QuotedText(row.allowed) + " is neither yes nor no";
    return false;
  }
  return true;
}

bool Differs(const HeroRecord& r, const RowValues& v) {
  return r.name != v.name || r.biography != v.biography || r.sex != v.sex || r.hero_class != v.hero_class ||
         (r.allowed_by != 0) != v.allowed;
}

// Stores the values through the editing operations, as the editor's controls do.
Status Store(HeroCatalogue* catalogue, size_t index, const RowValues& v) {
  const HeroRecord& r = catalogue->record(index);
  Status s = Status::Ok();
  if (s && r.name != v.name) s = catalogue->SetName(index, v.name);
  if (s && r.biography != v.biography) s = catalogue->SetBiography(index, v.biography);
  if (s && r.sex != v.sex) s = catalogue->SetSex(index, v.sex);
  if (s && r.hero_class != v.hero_class) s = catalogue->SetClass(index, v.hero_class);
  if (s && (r.allowed_by != 0) != v.allowed) s = catalogue->SetAllowedBy(index, v.allowed);
  return s;
}

constexpr const char* kSaveAsUtf8 = "save the sheet as UTF-8 CSV (\"CSV UTF-8\")";

// What a header row must hold, for a header that cannot be read.
std::string ExpectedHeader() {
  std::string needed, optional;
  for (const auto& c : kColumns) {
    std::string& list = c.read_back ? needed : optional;
    list += list.empty() ? "" : ", ";
    list += c.name;
  }
  return "the header row names the columns " + needed + " (and may name " + optional +
         "), separated by commas, semicolons or tabs";
}

const char* SeparatorName(char separator) {
  switch (separator) {
    case ';': return "a semicolon";
    case '\t': return "a tab";
    default: return "a comma";
  }
}

// The record number as a number when it is one, so "05" and 5 name the same record.
std::string RecordKey(const std::string& record) {
  size_t index = 0;
  return ParseRecordNumber(record, &index) ? std::to_string(index) : record;
}

bool SameRow(const SheetRow& a, const SheetRow& b) {
  return RecordKey(a.record) == RecordKey(b.record) && a.keyword == b.keyword && a.name == b.name &&
         a.biography == b.biography && AsciiEqualNoCase(a.sex, b.sex) && AsciiEqualNoCase(a.hero_class, b.hero_class) &&
         AsciiEqualNoCase(a.allowed, b.allowed);
}

}  // namespace

std::vector<SheetRow> SheetRowsOf(const HeroCatalogue& catalogue, CodePage page) {
  std::vector<SheetRow> rows;
  rows.reserve(catalogue.count());
  for (size_t i = 0; i < catalogue.count(); ++i) {
    const HeroRecord& r = catalogue.record(i);
    SheetRow row;
    row.record = std::to_string(i);
    row.keyword = CodePageToUtf8(r.keyword, page);
    row.name = CodePageToUtf8(r.name, page);
    row.biography = CodePageToUtf8(r.biography, page);
    row.sex = TokenOfId(kSexTable, r.sex);
    row.hero_class = TokenOfId(kClassTable, r.hero_class);
    // The header row is never saved, so it has no bundle either.
    if (i != kHeaderRecord) row.alignment = TokenOfId(kAlignmentTable, AlignmentOfClass(r.hero_class));
    row.allowed = YesNo(r.allowed_by != 0);
    row.read_only = YesNo(r.read_only() || i == kHeaderRecord);
    row.has_large = YesNo(r.has_large());
    row.has_small = YesNo(r.has_small());
    row.role = RoleOf(i);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string SheetCsv(std::span<const SheetRow> rows) {
  std::string out(kUtf8ByteOrderMark);
  std::vector<std::string> fields;
  for (const auto& c : kColumns) fields.push_back(c.name);
  AppendCsvRecord(&out, fields);
  for (const SheetRow& row : rows) {
    fields.clear();
    for (const auto& c : kColumns) fields.push_back(row.*c.field);
    AppendCsvRecord(&out, fields);
  }
  return out;
}

std::string SheetJson(std::span<const SheetRow> rows) {
  std::string out = "[";
  for (size_t i = 0; i < rows.size(); ++i) {
    out += i == 0 ? "\n {" : ",\n {";
    for (size_t c = 0; c < std::size(kColumns); ++c) {
      const sheet::Column& column = kColumns[c];
      out += c == 0 ? "\"" : ", \"";
      out += column.name;
      out += "\": ";
      const std::string& value = rows[i].*column.field;
      if (column.flag) {
        out += value == "yes" ? "true" : "false";
      } else if (c == 0) {
        out += value;  // the record number
      } else {
        AppendJsonString(&out, value);
      }
    }
    out += "}";
  }
  out += rows.empty() ? "]\n" : "\n]\n";
  return out;
}

Status ReadSheetCsv(std::string_view text, const std::string& file, std::vector<SheetRow>* rows) {
  if (const char* form = Utf16FormOf(text)) {
    return Status::Fail(file + ": the file is " + form + " text (\"Unicode text\"), not UTF-8; " + kSaveAsUtf8);
  }
  const char separator = CsvSeparatorOf(text);
  CsvReader reader(text, separator);
  CsvRecord header;
  CsvError error;
  // "heroes.csv line 7, column 3 ("name")": columns by number, and by name once the header is read.
  auto at = [&](size_t line, size_t column, bool named) {
    std::string where = file + " line " + std::to_string(line) + ", column " + std::to_string(column);
    if (named && column >= 1 && column <= header.fields.size()) {
      where += " (" + QuotedText(header.fields[column - 1]) + ")";
    }
    return where;
  };
  switch (reader.Next(&header, &error)) {
    case CsvRead::kEnd: return Status::Fail(file + ": no header row; " + ExpectedHeader());
    case CsvRead::kError:
      return Status::Fail(at(error.line, error.field, false) + ": " + error.reason + "; " + ExpectedHeader());
    case CsvRead::kRecord: break;
  }
  // Which member each column of the file feeds.
  std::vector<const sheet::Column*> feeds(header.fields.size(), nullptr);
  for (size_t f = 0; f < header.fields.size(); ++f) {
    const sheet::Column* found = nullptr;
    for (const auto& c : kColumns) {
      if (AsciiEqualNoCase(header.fields[f], c.name)) found = &c;
    }
    if (!found) {
      return Status::Fail(at(header.line, f + 1, false) + ": unknown column " + QuotedText(header.fields[f]) + "; " +
                          ExpectedHeader());
    }
    for (size_t g = 0; g < f; ++g) {
      if (feeds[g] == found) {
        return Status::Fail(at(header.line, f + 1, false) + ": the column " + QuotedText(found->name) +
                            " appears twice");
      }
    }
    feeds[f] = found;
  }
  for (const auto& c : kColumns) {
    if (!c.read_back) continue;
    bool present = false;
    for (const sheet::Column* fed : feeds) present = present || fed == &c;
    if (!present) return Status::Fail(file + ": the column " + QuotedText(c.name) + " is missing; " + ExpectedHeader());
  }
  std::vector<SheetRow> out;
  CsvRecord record;
  for (;;) {
    const CsvRead read = reader.Next(&record, &error);
    if (read == CsvRead::kEnd) break;
    if (read == CsvRead::kError) return Status::Fail(at(error.line, error.field, true) + ": " + error.reason);
    const size_t fields = record.fields.size(), columns = header.fields.size();
    if (fields < columns) {
      return Status::Fail(at(record.line, fields + 1, true) + ": missing; the row has " + std::to_string(fields) +
                          " fields, the header row " + std::to_string(columns));
    }
    if (fields > columns) {
      return Status::Fail(at(record.line, columns + 1, false) + ": the row has " + std::to_string(fields) +
                          " fields, the header row " + std::to_string(columns) + " (a field that holds " +
                          SeparatorName(separator) + " needs quotes around it)");
    }
    for (size_t f = 0; f < fields; ++f) {
      if (!IsUtf8(record.fields[f])) {
        // Spreadsheets save plain "CSV" in the system's code page.
        return Status::Fail(at(record.line, f + 1, true) + ": the text is not UTF-8; " + kSaveAsUtf8);
      }
    }
    SheetRow row;
    row.where = file + " line " + std::to_string(record.line);
    for (size_t f = 0; f < feeds.size(); ++f) row.*(feeds[f]->field) = record.fields[f];
    out.push_back(std::move(row));
  }
  *rows = std::move(out);
  return Status::Ok();
}

void ApplySheet(std::span<const SheetRow> rows, CodePage page, HeroCatalogue* catalogue, SheetApply* report,
                FaceLossRule face_loss) {
  // Records named by more than one row are refused in every row: which one is meant is unclear.
  std::map<size_t, std::vector<std::string>> places;
  for (const SheetRow& row : rows) {
    size_t index = 0;
    if (ParseRecordNumber(row.record, &index)) places[index].push_back(row.where);
  }
  for (const SheetRow& row : rows) {
    size_t index = 0;
    auto refuse = [&](const std::string& why) {
      report->refused.push_back(row.where + ": " + why);
      report->refused_rows.push_back(row);
    };
    if (!ParseRecordNumber(row.record, &index)) {
      refuse("record: " + QuotedText(row.record) + " is not a record number");
      continue;
    }
    if (index >= catalogue->count()) {
      refuse("record " + row.record + ": no such record (the catalogue holds 0 to " +
             std::to_string(catalogue->count() - 1) + ")");
      continue;
    }
    const HeroRecord& record = catalogue->record(index);
    const std::string who = "record " + row.record + " (" + QuotedText(CodePageToUtf8(record.keyword, page)) + ")";
    if (const auto& where = places[index]; where.size() > 1) {
      std::string list;
      for (const std::string& w : where) list += (list.empty() ? "" : ", ") + w;
      refuse(who + ": appears in more than one row (" + list + ")");
      continue;
    }
    RowValues values;
    std::string why;
    if (!CheckRow(row, record, page, &values, &why)) {
      refuse(who + ": " + why);
      continue;
    }
    if (!Differs(record, values)) {
      ++report->rows_applied;
      continue;
    }
    if (index == kHeaderRecord) {
      refuse(who + ": is the hero table's header row, which is never saved; it cannot be changed");
      continue;
    }
    if (record.read_only()) {
      refuse(who + ": is read-only; its name, biography, sex, class and Allowed By cannot be changed");
      continue;
    }
    const FaceLoss loss = FacesLostByClass(record, values.hero_class);
    const std::string lost = loss.any() ? "class " + QuotedText(row.hero_class) +
                                              " has no portrait bundle, so saving drops the hero's " + loss.Text()
                                        : "";
    if (loss.any() && face_loss == FaceLossRule::kRefuse) {
      refuse(who + ": " + lost);
      ++report->refused_for_face_loss;
      continue;
    }
    if (Status s = Store(catalogue, index, values); !s) {
      refuse(who + ": " + s.why());
      continue;
    }
    ++report->rows_applied;
    if (loss.any()) report->warnings.push_back(row.where + ": " + who + ": " + lost);
  }
}

const SheetRow* RefusedOnlyIn(const SheetApply& a, const SheetApply& b) {
  std::vector<bool> matched(b.refused_rows.size(), false);
  for (const SheetRow& row : a.refused_rows) {
    bool found = false;
    for (size_t i = 0; i < b.refused_rows.size() && !found; ++i) {
      if (!matched[i] && SameRow(row, b.refused_rows[i])) matched[i] = found = true;
    }
    if (!found) return &row;
  }
  return nullptr;
}

}  // namespace qm
