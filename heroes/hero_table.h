// The hero table resource "table.heroes.h4d": parse into hero records, serialize back.
//
// Layout (little-endian): u32 row count N, then N rows; a row is a u16 column count C and C
// strings (u16 length + bytes). Columns: Keyword, Name, Sex, Class, Biography, Allowed By and
// an unnamed extra text. The first row is the header row.
//
//   std::vector<qm::HeroRecord> records;
//   auto parsed = qm::ParseHeroTable(bytes, &records, [](const qm::OverlongValue& v) {
//     ShowMessage(Text(v.message_id));            // kMsgKeywordOverflow...
//   });
//   if (!parsed.ok()) ...                         // no row could be read
//   std::vector<uint8_t> out;
//   if (!qm::SerializeHeroTable(records, &out)) ...  // fewer than 3 records
//
// Parse layout of `records`: [0] the header row as read, [1] "dead" and [2] "sleeping" (the
// pseudo-heroes: class 0, read-only, both face flags), [3..] the table's heroes in order. The
// parser treats its input as hostile: it never reads past the data and never stores more than
// kMaxHeroRecords records; a table that ends early or holds too many rows keeps the complete
// rows read so far (and says so in the result). Over-long texts keep their first characters
// and are reported through the callback, one call per value, as each is read (so a value in a
// row that then ends early is still reported).
//
// Serialize writes a fixed header row, then records 3.. with seven columns each; records 0..2
// never reach a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "base/status.h"
#include "heroes/hero_record.h"
#include "resources/string_ids.h"

namespace qm {

constexpr const char* kHeroTableEntryName = "table.heroes.h4d";
constexpr size_t kHeroTableColumns = 7;
// Each column is read through a buffer of this size, so no value keeps more than 2,047 bytes
// before the field limits apply.
constexpr size_t kHeroColumnBuffer = 2048;

struct OverlongValue {
  uint32_t message_id;  // kMsgKeywordOverflow, kMsgNameOverflow, ... (string ids)
  size_t record;        // index of the record being filled
  size_t length;        // characters read (at most 2,047), more than the field holds
};
using OverlongReport = std::function<void(const OverlongValue&)>;

struct HeroTableParse {
  uint32_t rows_declared = 0;  // the row count the table states
  size_t rows_read = 0;        // complete rows stored (header row included)
  bool truncated = false;      // the data ended before the declared rows did
  bool capped = false;         // rows beyond the catalogue's capacity were left unread
  size_t extra_columns = 0;    // columns beyond the seventh, skipped (summed over all rows)

  // The load counts as successful when at least one row was read.
  bool ok() const { return rows_read > 0; }
};

// Replaces `records` with the parsed table. Without a row read, `records` is left empty.
HeroTableParse ParseHeroTable(std::span<const uint8_t> data, std::vector<HeroRecord>* records,
                              const OverlongReport& report = {});

// Replaces `out` with the serialized table. Fails, leaving `out` empty, for fewer than 3 records.
Status SerializeHeroTable(const std::vector<HeroRecord>& records, std::vector<uint8_t>* out);

}  // namespace qm
