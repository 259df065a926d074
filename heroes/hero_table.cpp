#include "heroes/hero_table.h"

#include <string>
#include <string_view>

#include "base/byte_cursor.h"
#include "heroes/value_tables.h"

namespace qm {
namespace {

// The most rows a table may contribute: two records are taken by the pseudo-heroes.
constexpr size_t kMaxTableRows = kMaxHeroRecords - 2;

// Reads one column through the column buffer. Record fields are zero-terminated texts, so a
// zero byte inside a value ends it there.
std::string ReadColumn(ByteReader& reader) {
  std::string text = reader.ReadString(kHeroColumnBuffer);
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

// Stores a column into a text field of `max_chars`; an over-long value keeps its first
// characters and is reported at once, so it is reported even when its row ends early.
void StoreText(std::string text, size_t max_chars, uint32_t message_id, size_t record,
               std::string* field, const OverlongReport& report) {
  if (text.size() > max_chars) {
    if (report) report({message_id, record, text.size()});
    text.resize(max_chars);
  }
  *field = std::move(text);
}

// Reads one row into `record`. Returns false when the data ended inside the row.
bool ReadRow(ByteReader& reader, size_t index, HeroRecord* record, const OverlongReport& report,
             size_t* extra_columns) {
  const size_t columns = reader.ReadU16();
  for (size_t column = 0; column < columns && !reader.overrun(); ++column) {
    std::string text = ReadColumn(reader);
    switch (column) {
      case 0: StoreText(std::move(text), kKeywordMaxChars, kMsgKeywordOverflow, index, &record->keyword, report); break;
      case 1: StoreText(std::move(text), kNameMaxChars, kMsgNameOverflow, index, &record->name, report); break;
      case 2: record->sex = static_cast<uint8_t>(IdOfToken(kSexTable, text)); break;
      case 3: record->hero_class = static_cast<uint8_t>(IdOfToken(kClassTable, text)); break;
      case 4: StoreText(std::move(text), kBiographyMaxChars, kMsgBiographyOverflow, index, &record->biography, report); break;
      case 5: record->allowed_by = static_cast<uint8_t>(IdOfToken(kAllowedByTable, text)); break;
      case 6: StoreText(std::move(text), kExtraMaxChars, kMsgExtraOverflow, index, &record->extra, report); break;
      default: ++*extra_columns; break;  // skipped, so the next row starts where it should
    }
  }
  if (reader.overrun()) return false;
  if (record->keyword.empty()) record->flags |= kHeroReadOnly;
  return true;
}

HeroRecord PseudoHero(const char* keyword) {
  HeroRecord record;
  record.keyword = keyword;
  record.flags = kHeroReadOnly | kHeroHasLarge | kHeroHasSmall;
  return record;
}

}  // namespace

HeroTableParse ParseHeroTable(std::span<const uint8_t> data, std::vector<HeroRecord>* records,
                              const OverlongReport& report) {
  HeroTableParse result;
  records->clear();
  ByteReader reader(data);
  result.rows_declared = reader.ReadU32();
  if (reader.overrun()) {
    result.truncated = true;
    return result;
  }
  size_t rows = result.rows_declared;
  if (rows > kMaxTableRows) {
    rows = kMaxTableRows;
    result.capped = true;
  }

  for (size_t row = 0; row < rows; ++row) {
    const size_t index = row == 0 ? kHeaderRecord : row + 2;
    HeroRecord record;
    if (!ReadRow(reader, index, &record, report, &result.extra_columns)) {
      result.truncated = true;
      break;
    }
    records->push_back(std::move(record));
    if (row == 0) {
      records->push_back(PseudoHero("dead"));
      records->push_back(PseudoHero("sleeping"));
    }
    ++result.rows_read;
  }
  return result;
}

Status SerializeHeroTable(const std::vector<HeroRecord>& records, std::vector<uint8_t>* out) {
  out->clear();
  if (records.size() < kFirstHeroRecord) {
    return Status::Fail("the hero catalogue holds fewer than 3 records");
  }
  ByteWriter writer(out);
  writer.WriteU32(static_cast<uint32_t>(records.size() - 2));
  writer.WriteU16(kHeroTableColumns);
  for (std::string_view header : {"Keyword", "Name", "Sex", "Class", "Biography", "Allowed By", ""}) {
    writer.WriteString(header);
  }
  for (size_t i = kFirstHeroRecord; i < records.size(); ++i) {
    const HeroRecord& r = records[i];
    writer.WriteU16(kHeroTableColumns);
    writer.WriteString(r.keyword);
    writer.WriteString(r.name);
    writer.WriteString(TokenOfId(kSexTable, r.sex));
    writer.WriteString(TokenOfId(kClassTable, r.hero_class));
    writer.WriteString(r.biography);
    writer.WriteString(r.allowed_by ? "X" : "");
    writer.WriteString(r.extra);
  }
  return Status::Ok();
}

}  // namespace qm
