#include "heroes/hero_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "heroes/catalogue_diff.h"
#include "heroes/value_tables.h"

namespace qm {
namespace {

HeroCatalogue SmallCatalogue() {
  std::vector<HeroRecord> records(6);
  records[0].keyword = "Keyword";
  records[0].name = "Name";
  records[1].keyword = "dead";
  records[1].flags = kHeroReadOnly | kHeroHasLarge | kHeroHasSmall;
  records[2].keyword = "sleeping";
  records[2].flags = kHeroReadOnly | kHeroHasLarge | kHeroHasSmall;
  records[3].keyword = "Aldric";
  records[3].name = "Sir Aldric";
  records[3].biography = "Caf\xE9, \"quoted\"\r\nsecond line";  // code page 1252 byte E9
  records[3].sex = kSexMale;
  records[3].hero_class = kClassKnight;
  records[3].allowed_by = 1;
  records[3].extra = "kept";
  records[3].large_face = {1, 2, 3};
  records[3].flags = kHeroHasLarge;
  records[4].keyword = "Mira";
  records[4].name = "Mira";
  records[4].hero_class = kClassMage;
  records[5].name = "no keyword";
  records[5].flags = kHeroReadOnly;
  HeroCatalogue c;
  EXPECT_TRUE(c.Assign(records));
  return c;
}

std::vector<SheetRow> FromCsv(const std::string& text) {
  std::vector<SheetRow> rows;
  Status s = ReadSheetCsv(text, "heroes.csv", &rows);
  EXPECT_TRUE(s) << s.why();
  return rows;
}

SheetApply Apply(const std::vector<SheetRow>& rows, HeroCatalogue* c, CodePage page = CodePage::k1252) {
  SheetApply report;
  ApplySheet(rows, page, c, &report);
  return report;
}

std::string OneRefusal(const SheetApply& report) {
  EXPECT_EQ(report.refused.size(), 1u);
  return report.refused.empty() ? "" : report.refused.front();
}

const char* kHeader = "record,keyword,name,biography,sex,class,allowed\r\n";

TEST(HeroSheetTest, ExportedCsvAndJsonReadBackAndChangeNothing) {
  const HeroCatalogue original = SmallCatalogue();
  const std::vector<SheetRow> rows = SheetRowsOf(original, CodePage::k1252);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[3].biography, "Caf\xC3\xA9, \"quoted\"\r\nsecond line");
  EXPECT_EQ(rows[0].role, "header");
  EXPECT_EQ(rows[0].alignment, "");
  EXPECT_EQ(rows[1].role, "pseudo-hero");
  EXPECT_EQ(rows[1].alignment, "death");
  EXPECT_EQ(rows[3].alignment, "life");
  EXPECT_EQ(rows[3].has_large, "yes");
  EXPECT_EQ(rows[3].has_small, "no");

  const std::string csv = SheetCsv(rows);
  EXPECT_EQ(csv.rfind(
                "\xEF\xBB\xBFrecord,keyword,name,biography,sex,class,alignment,allowed,read_only,has_large,has_small,"
                "role\r\n0,Keyword,Name,,,,,no,yes,no,no,header\r\n",
                0),
            0u);
  for (const bool json : {false, true}) {
    std::vector<SheetRow> back;
    Status s = json ? ReadSheetJson(SheetJson(rows), "heroes.json", &back) : ReadSheetCsv(csv, "heroes.csv", &back);
    ASSERT_TRUE(s) << s.why();
    ASSERT_EQ(back.size(), rows.size());
    EXPECT_EQ(back[3].biography, rows[3].biography);
    EXPECT_EQ(back[3].where, json ? "heroes.json element 4" : "heroes.csv line 5");
    HeroCatalogue c = original;
    const SheetApply report = Apply(back, &c);
    EXPECT_TRUE(report.refused.empty()) << report.refused.front();
    EXPECT_EQ(report.rows_applied, 6u);
    EXPECT_TRUE(DiffCatalogues(original.records(), c.records()).empty());
  }
}

TEST(HeroSheetTest, ChangedFieldsAreAppliedAndOmittedRowsStay) {
  HeroCatalogue c = SmallCatalogue();
  const SheetApply report = Apply(
      FromCsv(std::string(kHeader) + "4,MIRA,\"Mira, \"\"the Wise\"\"\",\"Zo\xC3\xAB\nof the hills\",FEMALE,sorcerer,Yes\r\n"),
      &c);
  EXPECT_TRUE(report.refused.empty());
  const HeroRecord& r = c.record(4);
  EXPECT_EQ(r.name, "Mira, \"the Wise\"");
  EXPECT_EQ(r.biography, "Zo\xEB\nof the hills");
  EXPECT_EQ(r.sex, kSexFemale);
  EXPECT_EQ(r.hero_class, kClassSorcerer);
  EXPECT_EQ(r.allowed_by, 1);
  EXPECT_EQ(c.record(3).name, "Sir Aldric");
  EXPECT_TRUE(report.warnings.empty());
}

TEST(HeroSheetTest, EachBadRowIsRefusedWithItsLineAndFieldAndChangesNothing) {
  struct Case {
    std::string row;
    std::string expected;  // part of the refusal
  };
  const std::string long_name(65, 'n');
  const std::string long_bio(513, 'b');
  const std::vector<Case> cases = {
      {"3,Aldric,Sir Aldric,x,mle,knight,yes", "sex: unknown sex \"mle\""},
      {"3,Aldric,Sir Aldric,x,male,wizard,yes", "class: unknown class \"wizard\""},
      {"3,Aldric,Sir Aldric,x,male,knight,maybe", "allowed: \"maybe\" is neither yes nor no"},
      {"3,Aldric," + long_name + ",x,male,knight,yes", "name: 65 characters, a name holds at most 64"},
      {"3,Aldric,A," + long_bio + ",male,knight,yes", "biography: 513 characters, a biography holds at most 512"},
      {"3,Aldric,\xC5\x91,x,male,knight,yes", "name: the character '\xC5\x91' (U+0151) at character 1 is not in code page 1252"},
      {"3,Aldrik,Sir Aldric,x,male,knight,yes", "keyword: \"Aldrik\" is not the record's keyword \"Aldric\""},
      {"1,dead,Alive,,,,no", "record 1 (\"dead\"): is read-only"},
      {"5,,Renamed,,,,no", "record 5 (\"\"): is read-only"},
      {"0,Keyword,Other,,,,no", "header row"},
      {"9,Nobody,,,,,no", "record 9: no such record (the catalogue holds 0 to 5)"},
      {"x3,Aldric,,,,,no", "record: \"x3\" is not a record number"},
  };
  for (const Case& k : cases) {
    HeroCatalogue c = SmallCatalogue();
    const SheetApply report = Apply(FromCsv(std::string(kHeader) + "4,Mira,Mira,,,mage,no\r\n" + k.row + "\r\n"), &c);
    const std::string refusal = OneRefusal(report);
    EXPECT_EQ(refusal.rfind("heroes.csv line 3: ", 0), 0u) << refusal;
    EXPECT_NE(refusal.find(k.expected), std::string::npos) << refusal;
    EXPECT_TRUE(DiffCatalogues(SmallCatalogue().records(), c.records()).empty()) << k.row;
  }
}

TEST(HeroSheetTest, ARecordInTwoRowsIsRefusedInBoth) {
  HeroCatalogue c = SmallCatalogue();
  const SheetApply report =
      Apply(FromCsv(std::string(kHeader) + "4,Mira,One,,,mage,no\r\n4,Mira,Two,,,mage,no\r\n"), &c);
  ASSERT_EQ(report.refused.size(), 2u);
  EXPECT_NE(report.refused[0].find("more than one row (heroes.csv line 2, heroes.csv line 3)"), std::string::npos)
      << report.refused[0];
  EXPECT_EQ(c.record(4).name, "Mira");
}

TEST(HeroSheetTest, TextsGoThroughTheChosenCodePage) {
  HeroCatalogue c = SmallCatalogue();
  // Cyrillic "Мира" is in 1251 but not in 1252.
  const std::string row = std::string(kHeader) + "4,Mira,\xD0\x9C\xD0\xB8\xD1\x80\xD0\xB0,,,mage,no\r\n";
  EXPECT_EQ(Apply(FromCsv(row), &c).refused.size(), 1u);
  EXPECT_TRUE(Apply(FromCsv(row), &c, CodePage::k1251).refused.empty());
  EXPECT_EQ(c.record(4).name, "\xCC\xE8\xF0\xE0");
  EXPECT_EQ(SheetRowsOf(c, CodePage::k1251)[4].name, "\xD0\x9C\xD0\xB8\xD1\x80\xD0\xB0");
}

TEST(HeroSheetTest, AClassWithoutBundleIsRefusedForAHeroWithFacesUnlessTheLossIsAllowed) {
  // Aldric (knight) holds a large face, Mira (mage) none.
  const std::string rows = std::string(kHeader) +
                           "3,Aldric,Sir Aldric,\"Caf\xC3\xA9, \"\"quoted\"\"\r\nsecond line\",male,generic,yes\r\n"
                           "4,Mira,Mira,,,generic,no\r\n";
  HeroCatalogue c = SmallCatalogue();
  SheetApply report = Apply(FromCsv(rows), &c);
  EXPECT_EQ(OneRefusal(report),
            "heroes.csv line 2: record 3 (\"Aldric\"): class \"generic\" has no portrait bundle, so saving drops the "
            "hero's large face");
  EXPECT_EQ(report.refused_for_face_loss, 1u);
  EXPECT_EQ(c.record(3).hero_class, kClassKnight);
  EXPECT_EQ(c.record(4).hero_class, kClassGeneric);  // nothing to lose
  EXPECT_TRUE(report.warnings.empty());

  c = SmallCatalogue();
  report = SheetApply();
  ApplySheet(FromCsv(rows), CodePage::k1252, &c, &report, FaceLossRule::kAllow);
  EXPECT_TRUE(report.refused.empty());
  EXPECT_EQ(c.record(3).hero_class, kClassGeneric);
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_NE(report.warnings[0].find("saving drops the hero's large face"), std::string::npos) << report.warnings[0];
}

TEST(HeroSheetTest, CsvFormErrorsNameTheFileLineAndColumn) {
  struct Case {
    std::string text, expected;
  };
  const std::string expected_header =
      "the header row names the columns record, keyword, name, biography, sex, class, allowed (and may name "
      "alignment, read_only, has_large, has_small, role), separated by commas, semicolons or tabs";
  const std::vector<Case> cases = {
      {"record,keyword,name,sex,class,allowed\r\n3,Aldric,A,,,no\r\n",
       "heroes.csv: the column \"biography\" is missing; " + expected_header},
      {std::string(kHeader).insert(0, "notes,") + "x,3,Aldric,A,,,,no\r\n",
       "heroes.csv line 1, column 1: unknown column \"notes\"; " + expected_header},
      {"record,keyword,name,Name,biography,sex,class,allowed\r\n",
       "heroes.csv line 1, column 4: the column \"name\" appears twice"},
      // A separator no spreadsheet uses leaves one column named like the whole header.
      {"record|keyword|name\r\n",
       "heroes.csv line 1, column 1: unknown column \"record|keyword|name\"; " + expected_header},
      {"", "heroes.csv: no header row; " + expected_header},
      {"\xEF\xBB\xBF\r\n\r\n", "heroes.csv: no header row; " + expected_header},
      {std::string(kHeader) + "3,Aldric,A\r\n",
       "heroes.csv line 2, column 4 (\"biography\"): missing; the row has 3 fields, the header row 7"},
      {std::string(kHeader) + "3,Aldric,Sir Aldric, the Bold,,male,knight,yes\r\n",
       "heroes.csv line 2, column 8: the row has 8 fields, the header row 7 (a field that holds a comma needs quotes "
       "around it)"},
      {std::string(kHeader) + "4,Mira,Mira,,,mage,no\r\n3,Aldric,Sir \"Al\",,male,knight,yes\r\n",
       "heroes.csv line 3, column 3 (\"name\"): a quote inside a field that does not begin with one"},
      {std::string(kHeader) + "3,Aldric,\"Sir\" Al,,male,knight,yes\r\n",
       "heroes.csv line 2, column 3 (\"name\"): text after the closing quote of a field"},
      {std::string(kHeader) + "3,Aldric,A,\"open\r\nstill open,,\r\n",
       "heroes.csv line 2, column 4 (\"biography\"): a quoted field is never closed"},
      {"record,keyword,\"name\r\n", "heroes.csv line 1, column 3: a quoted field is never closed; " + expected_header},
      // Spreadsheets save plain "CSV" in the system's code page.
      {std::string(kHeader) + "4,Mira,Zo\xEB,,,mage,no\r\n",
       "heroes.csv line 2, column 3 (\"name\"): the text is not UTF-8; save the sheet as UTF-8 CSV (\"CSV UTF-8\")"},
  };
  for (const Case& k : cases) {
    std::vector<SheetRow> rows;
    const Status s = ReadSheetCsv(k.text, "heroes.csv", &rows);
    ASSERT_FALSE(s) << k.text;
    EXPECT_EQ(s.why(), k.expected);
    EXPECT_TRUE(rows.empty());
  }
  // Columns in another order, derived ones left out.
  std::vector<SheetRow> rows;
  ASSERT_TRUE(ReadSheetCsv("allowed,class,sex,biography,name,keyword,record\r\nno,mage,,,Mira,Mira,4\r\n", "h", &rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].record, "4");
  EXPECT_EQ(rows[0].hero_class, "mage");
}

TEST(HeroSheetTest, SemicolonAndTabSeparatedSheetsReadLikeCommaSeparatedOnes) {
  const std::vector<SheetRow> commas =
      FromCsv(std::string(kHeader) + "4,Mira,\"Mira; \"\"the Wise\"\"\",\"one, two\ttabs\",female,mage,yes\r\n");
  for (const char* text : {"\xEF\xBB\xBFrecord;keyword;name;biography;sex;class;allowed\r\n"
                           "4;Mira;\"Mira; \"\"the Wise\"\"\";\"one, two\ttabs\";female;mage;yes\r\n",
                           "record\tkeyword\tname\tbiography\tsex\tclass\tallowed\n"
                           "4\tMira\t\"Mira; \"\"the Wise\"\"\"\t\"one, two\ttabs\"\tfemale\tmage\tyes\n"}) {
    const std::vector<SheetRow> rows = FromCsv(text);
    ASSERT_EQ(rows.size(), 1u) << text;
    EXPECT_EQ(rows[0].name, commas[0].name);
    EXPECT_EQ(rows[0].name, "Mira; \"the Wise\"");
    EXPECT_EQ(rows[0].biography, commas[0].biography);
    EXPECT_EQ(rows[0].allowed, "yes");
  }
  std::vector<SheetRow> rows;
  const Status s = ReadSheetCsv("record;keyword;name;biography;sex;class;allowed\r\n4;Mira;Mira;;;mage;no;x\r\n",
                                "heroes.csv", &rows);
  ASSERT_FALSE(s);
  EXPECT_EQ(s.why(),
            "heroes.csv line 2, column 8: the row has 8 fields, the header row 7 (a field that holds a semicolon needs "
            "quotes around it)");
}

TEST(HeroSheetTest, AUtf16SheetIsNamedAsSuch) {
  const std::string ascii = std::string(kHeader) + "4,Mira,Mira,,,mage,no\r\n";
  auto utf16 = [&](bool little_endian, bool mark) {
    std::string out;
    if (mark) out = little_endian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) {
      out += little_endian ? std::string{c, '\0'} : std::string{'\0', c};
    }
    return out;
  };
  for (const bool little_endian : {true, false}) {
    for (const bool mark : {true, false}) {
      std::vector<SheetRow> rows;
      const Status s = ReadSheetCsv(utf16(little_endian, mark), "heroes.csv", &rows);
      ASSERT_FALSE(s);
      EXPECT_EQ(s.why(), std::string("heroes.csv: the file is ") + (little_endian ? "UTF-16LE" : "UTF-16BE") +
                             " text (\"Unicode text\"), not UTF-8; save the sheet as UTF-8 CSV (\"CSV UTF-8\")");
    }
  }
  // UTF-8 with letters of every script is no UTF-16, nor is a stray NUL.
  EXPECT_EQ(Utf16FormOf("\xD0\x9C\xD0\xB8\xD1\x80\xD0\xB0, \xC4\x80\xC4\x81"), nullptr);
  EXPECT_EQ(Utf16FormOf(std::string("ab\0cd", 5)), nullptr);
  EXPECT_EQ(Utf16FormOf("x"), nullptr);
}

TEST(HeroSheetTest, RefusedRowsOfTwoSheetsAreComparedByRecordAndValues) {
  const std::string bad3 = "3,Aldric,Sir Aldric,x,male,wizard,yes\r\n";
  const std::string bad4 = "4,Mira,Mira,,,wizard,no\r\n";
  auto refusals = [&](const std::string& rows) {
    HeroCatalogue c = SmallCatalogue();
    return Apply(FromCsv(std::string(kHeader) + rows), &c);
  };
  const SheetApply csv = refusals(bad3);
  // As many refusals, but of another record: the two sheets are not the same edit.
  const SheetApply other = refusals(bad4);
  ASSERT_NE(RefusedOnlyIn(csv, other), nullptr);
  EXPECT_EQ(RefusedOnlyIn(csv, other)->record, "3");
  EXPECT_EQ(RefusedOnlyIn(other, csv)->record, "4");
  // The same bad row elsewhere in the file, its record written "03" and its class in capitals.
  const SheetApply same = refusals("4,Mira,Mira,,,mage,no\r\n03,Aldric,Sir Aldric,x,MALE,Wizard,yes\r\n");
  EXPECT_EQ(RefusedOnlyIn(csv, same), nullptr);
  EXPECT_EQ(RefusedOnlyIn(same, csv), nullptr);
  // One refusal against two of the same row.
  const SheetApply twice = refusals(bad3 + bad3);
  EXPECT_EQ(RefusedOnlyIn(csv, twice), nullptr);
  EXPECT_NE(RefusedOnlyIn(twice, csv), nullptr);
}

TEST(HeroSheetTest, JsonFormErrors) {
  const std::string good =
      "{\"record\": 4, \"keyword\": \"Mira\", \"name\": \"Mira\", \"biography\": \"\", \"sex\": \"\", "
      "\"class\": \"mage\", \"allowed\": false";
  struct Case {
    std::string text, expected;
  };
  const std::vector<Case> cases = {
      {"{}", "an array of heroes"},
      {"[" + good + "}, 5]", "element 2: not an object"},
      {"[" + good + ", \"notes\": \"x\"}]", "element 1: unknown member \"notes\""},
      {"[" + good + ", \"name\": \"again\"}]", "element 1: member \"name\" appears twice"},
      {"[{\"record\": 4}]", "element 1: member \"keyword\" is missing"},
      {"[" + good.substr(0, good.size() - 5) + "\"no\"}]", "member \"allowed\" must be true or false"},
      {"[{\"record\": -4}]", "member \"record\" must be a whole number from 0"},
      {"[{\"record\": \"4\"}]", "member \"record\" must be a whole number from 0"},
      {"[{\"record\": 4, \"name\": [\"x\"]}]", "member \"name\" must be a string"},
      {"[" + good + "}", "parse error"},
      {"[" + good + "}] x", "parse error"},
      {"[{\"record\": 4, \"name\": \"\xC3\"}]", "parse error"},
  };
  for (const Case& k : cases) {
    std::vector<SheetRow> rows;
    Status s = ReadSheetJson(k.text, "heroes.json", &rows);
    ASSERT_FALSE(s) << k.text;
    EXPECT_EQ(s.why().rfind("heroes.json", 0), 0u) << s.why();
    EXPECT_NE(s.why().find(k.expected), std::string::npos) << s.why();
    EXPECT_TRUE(rows.empty());
  }
  std::vector<SheetRow> rows;
  ASSERT_TRUE(ReadSheetJson("[" + good + ", \"role\": \"hero\", \"has_large\": true}]", "heroes.json", &rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].allowed, "no");
  EXPECT_EQ(rows[0].record, "4");
  ASSERT_TRUE(ReadSheetJson(" [ ] ", "heroes.json", &rows));
  EXPECT_TRUE(rows.empty());
}

}  // namespace
}  // namespace qm
