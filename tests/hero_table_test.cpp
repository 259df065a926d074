#include "heroes/hero_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_cursor.h"
#include "heroes/value_tables.h"

namespace qm {
namespace {

using Row = std::vector<std::string>;

std::vector<uint8_t> Table(const std::vector<Row>& rows, uint32_t declared_rows = UINT32_MAX) {
  std::vector<uint8_t> out;
  ByteWriter w(&out);
  w.WriteU32(declared_rows == UINT32_MAX ? static_cast<uint32_t>(rows.size()) : declared_rows);
  for (const Row& row : rows) {
    w.WriteU16(static_cast<uint16_t>(row.size()));
    for (const std::string& s : row) w.WriteString(s);
  }
  return out;
}

const Row kHeader = {"Keyword", "Name", "Sex", "Class", "Biography", "Allowed By", ""};

struct Parsed {
  std::vector<HeroRecord> records;
  std::vector<OverlongValue> overlong;
  HeroTableParse result;
};

Parsed Parse(const std::vector<uint8_t>& bytes) {
  Parsed p;
  p.result = ParseHeroTable(bytes, &p.records, [&](const OverlongValue& v) { p.overlong.push_back(v); });
  return p;
}

std::vector<Row> ReadBack(const std::vector<uint8_t>& bytes) {
  ByteReader r(bytes);
  std::vector<Row> rows(r.ReadU32());
  for (Row& row : rows) {
    row.resize(r.ReadU16());
    for (std::string& s : row) s = r.ReadString(70000);
  }
  EXPECT_FALSE(r.overrun());
  EXPECT_EQ(r.remaining(), 0u);
  return rows;
}

TEST(HeroTable, HeaderOnlyTableGivesHeaderAndPseudoHeroes) {
  Parsed p = Parse(Table({kHeader}));
  ASSERT_TRUE(p.result.ok());
  ASSERT_EQ(p.records.size(), 3u);
  EXPECT_EQ(p.records[0].keyword, "Keyword");
  EXPECT_EQ(p.records[0].flags, 0u);
  EXPECT_EQ(p.records[1].keyword, "dead");
  EXPECT_EQ(p.records[2].keyword, "sleeping");
  for (size_t i : {1, 2}) {
    EXPECT_EQ(p.records[i].hero_class, 0);
    EXPECT_EQ(p.records[i].flags, kHeroReadOnly | kHeroHasLarge | kHeroHasSmall);
    EXPECT_TRUE(p.records[i].large_face.empty());
  }
  std::vector<uint8_t> out;
  ASSERT_TRUE(SerializeHeroTable(p.records, &out).ok());
  EXPECT_EQ(out, Table({kHeader}));
}

TEST(HeroTable, SerializeRefusesFewerThanThreeRecords) {
  std::vector<uint8_t> out = {1, 2, 3};
  EXPECT_FALSE(SerializeHeroTable({}, &out).ok());
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(SerializeHeroTable(std::vector<HeroRecord>(2), &out).ok());
  EXPECT_TRUE(SerializeHeroTable(std::vector<HeroRecord>(3), &out).ok());
}

TEST(HeroTable, RoundTripKeepsTextsAndIdsAndCanonicalizesTokens) {
  const std::vector<uint8_t> in = Table({
      {"KW", "NM", "SX", "CL", "BIO", "AB", "EX"},  // another header: read into record 0
      {"Gauldoth", "Gauldoth Half-Dead", "MALE", "Death_Knight", "bio", "x", "extra"},
      {"Ana", "Ana", "Female", "archer", "", "O", ""},
      {"Who", "Who", "robot", "pirate", "", "", ""},
  });
  Parsed p = Parse(in);
  ASSERT_EQ(p.records.size(), 6u);
  EXPECT_EQ(p.records[0].keyword, "KW");
  EXPECT_EQ(p.records[3].sex, kSexMale);
  EXPECT_EQ(p.records[3].hero_class, kClassDeathKnight);
  EXPECT_EQ(p.records[3].allowed_by, 1);
  EXPECT_EQ(p.records[4].sex, kSexFemale);
  EXPECT_EQ(p.records[4].allowed_by, 0);
  EXPECT_EQ(p.records[5].sex, 0);
  EXPECT_EQ(p.records[5].hero_class, 0);

  std::vector<uint8_t> out;
  ASSERT_TRUE(SerializeHeroTable(p.records, &out).ok());
  const std::vector<Row> rows = ReadBack(out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], kHeader);  // the fixed header replaces the one read
  EXPECT_EQ(rows[1], (Row{"Gauldoth", "Gauldoth Half-Dead", "male", "death_knight", "bio", "X", "extra"}));
  EXPECT_EQ(rows[2], (Row{"Ana", "Ana", "female", "archer", "", "", ""}));  // "O" is written empty
  EXPECT_EQ(rows[3], (Row{"Who", "Who", "", "", "", "", ""}));

  Parsed again = Parse(out);
  ASSERT_EQ(again.records.size(), p.records.size());
  for (size_t i = 3; i < p.records.size(); ++i) {
    EXPECT_EQ(again.records[i].keyword, p.records[i].keyword);
    EXPECT_EQ(again.records[i].name, p.records[i].name);
    EXPECT_EQ(again.records[i].biography, p.records[i].biography);
    EXPECT_EQ(again.records[i].extra, p.records[i].extra);
    EXPECT_EQ(again.records[i].sex, p.records[i].sex);
    EXPECT_EQ(again.records[i].hero_class, p.records[i].hero_class);
    EXPECT_EQ(again.records[i].allowed_by, p.records[i].allowed_by);
  }
}

TEST(HeroTable, ShortRowsKeepZeroFieldsAndEmptyKeywordIsReadOnly) {
  Parsed p = Parse(Table({kHeader, {"Kw", "Name"}, {}, {"", "nameless"}}));
  ASSERT_EQ(p.records.size(), 6u);
  const HeroRecord& r = p.records[3];
  EXPECT_EQ(r.keyword, "Kw");
  EXPECT_EQ(r.name, "Name");
  EXPECT_EQ(r.sex, 0);
  EXPECT_EQ(r.hero_class, 0);
  EXPECT_EQ(r.allowed_by, 0);
  EXPECT_TRUE(r.biography.empty());
  EXPECT_TRUE(r.extra.empty());
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(p.records[4].flags, kHeroReadOnly);  // zero columns
  EXPECT_EQ(p.records[5].flags, kHeroReadOnly);
}

TEST(HeroTable, OverlongValuesAreReportedAndKeepTheirFirstCharacters) {
  const std::string kw64(64, 'k'), kw65 = std::string(64, 'k') + "!";
  const std::string bio(3000, 'b'), name(70, 'n'), extra(513, 'e');
  Parsed p = Parse(Table({kHeader, {kw64, "ok"}, {kw65, name, "male", "mage", bio, "X", extra}}));
  ASSERT_EQ(p.records.size(), 5u);
  EXPECT_EQ(p.records[3].keyword, kw64);
  EXPECT_EQ(p.records[4].keyword, kw64);
  EXPECT_EQ(p.records[4].name, std::string(64, 'n'));
  EXPECT_EQ(p.records[4].biography, std::string(512, 'b'));
  EXPECT_EQ(p.records[4].extra, std::string(512, 'e'));
  // The column after the 3,000-byte biography is read from after all of its bytes.
  EXPECT_EQ(p.records[4].allowed_by, 1);
  EXPECT_EQ(p.records[4].hero_class, kClassMage);

  ASSERT_EQ(p.overlong.size(), 4u);  // nothing for the 64-character keyword
  EXPECT_EQ(p.overlong[0].message_id, kMsgKeywordOverflow);
  EXPECT_EQ(p.overlong[0].record, 4u);
  EXPECT_EQ(p.overlong[0].length, 65u);
  EXPECT_EQ(p.overlong[1].message_id, kMsgNameOverflow);
  EXPECT_EQ(p.overlong[2].message_id, kMsgBiographyOverflow);
  EXPECT_EQ(p.overlong[2].length, 2047u);  // read through the 2,048-byte column buffer
  EXPECT_EQ(p.overlong[3].message_id, kMsgExtraOverflow);
}

TEST(HeroTable, OverlongValuesInARowThatEndsEarlyAreStillReported) {
  const std::string name(70, 'n');
  const std::vector<uint8_t> full = Table({kHeader, {"A", name, "male", "mage", "bio", "X", "e"}});
  const size_t name_end = Table({kHeader}).size() + 2 + (2 + 1) + (2 + name.size());
  for (size_t cut = name_end; cut < full.size(); ++cut) {
    SCOPED_TRACE(cut);
    Parsed p = Parse(std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(cut)));
    EXPECT_TRUE(p.result.truncated);
    EXPECT_EQ(p.records.size(), 3u);  // the row itself is not kept
    ASSERT_EQ(p.overlong.size(), 1u);
    EXPECT_EQ(p.overlong[0].message_id, kMsgNameOverflow);
    EXPECT_EQ(p.overlong[0].record, 3u);
  }
}

TEST(HeroTable, ExtraColumnsAreSkippedSoTheNextRowStaysInStep) {
  Parsed p = Parse(Table({kHeader, {"A", "a", "male", "mage", "", "X", "", "col8", "col9"}, {"B", "b"}}));
  ASSERT_EQ(p.records.size(), 5u);
  EXPECT_EQ(p.records[3].keyword, "A");
  EXPECT_EQ(p.records[4].keyword, "B");
  EXPECT_EQ(p.records[4].name, "b");
  EXPECT_EQ(p.result.extra_columns, 2u);
}

TEST(HeroTable, EmptyOrZeroRowTablesFail) {
  for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{1, 0},
                                            Table({}), Table({kHeader}, 0)}) {
    std::vector<HeroRecord> records(5);
    EXPECT_FALSE(ParseHeroTable(bytes, &records).ok());
    EXPECT_TRUE(records.empty());
  }
}

TEST(HeroTable, TruncatedTablesKeepTheCompleteRowsReadSoFar) {
  const std::vector<uint8_t> full = Table({kHeader, {"A", "a", "male"}, {"B", "b", "female", "", "bio", "X", "e"}});
  const size_t after_first_hero = Table({kHeader, {"A", "a", "male"}}).size();
  for (size_t cut = 0; cut < full.size(); ++cut) {
    SCOPED_TRACE(cut);
    Parsed p = Parse(std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(cut)));
    EXPECT_TRUE(p.result.truncated);
    const size_t expected_rows = cut < Table({kHeader}).size() ? 0 : cut < after_first_hero ? 1 : 2;
    EXPECT_EQ(p.result.rows_read, expected_rows);
    EXPECT_EQ(p.records.size(), expected_rows ? expected_rows + 2 : 0);
  }
  // A row count beyond the data: the rows present are kept.
  Parsed p = Parse(Table({kHeader, {"A"}}, 50));
  EXPECT_TRUE(p.result.truncated);
  EXPECT_EQ(p.records.size(), 4u);
}

TEST(HeroTable, NeverStoresMoreThanTheCatalogueHolds) {
  std::vector<Row> rows = {kHeader};
  for (int i = 0; i < 1200; ++i) rows.push_back({"hero" + std::to_string(i)});
  Parsed p = Parse(Table(rows));
  EXPECT_TRUE(p.result.capped);
  EXPECT_FALSE(p.result.truncated);
  ASSERT_EQ(p.records.size(), kMaxHeroRecords);
  EXPECT_EQ(p.records.back().keyword, "hero996");

  rows.resize(998);  // header + 997 heroes: exactly full
  p = Parse(Table(rows));
  EXPECT_FALSE(p.result.capped);
  EXPECT_EQ(p.records.size(), kMaxHeroRecords);
}

}  // namespace
}  // namespace qm
