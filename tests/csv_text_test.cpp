#include "heroes/csv_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

using Fields = std::vector<std::string>;

std::vector<CsvRecord> Parse(std::string_view text) {
  std::vector<CsvRecord> records;
  Status s = ParseCsv(text, &records);
  EXPECT_TRUE(s) << s.why();
  return records;
}

TEST(CsvTextTest, WrittenRecordsReadBackWithQuotesCommasAndLineBreaks) {
  const std::vector<Fields> rows = {{"12", "Aldric", "says \"hi\", twice\r\nthen\nleaves"},
                                    {"", " padded ", "plain"},
                                    {"\"", ",", "\r"},
                                    {"\xEF\xBB\xBF" "first", "x", "y"}};
  std::string text(kUtf8ByteOrderMark);
  for (const Fields& f : rows) AppendCsvRecord(&text, f);
  std::string starts_with_mark;  // a field that looks like the mark at the very start survives
  AppendCsvRecord(&starts_with_mark, rows.back());
  ASSERT_EQ(Parse(starts_with_mark).size(), 1u);
  EXPECT_EQ(Parse(starts_with_mark)[0].fields, rows.back());
  EXPECT_NE(text.find("\"says \"\"hi\"\", twice\r\nthen\nleaves\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n,\" padded \",plain\r\n"), std::string::npos);
  const std::vector<CsvRecord> back = Parse(text);
  ASSERT_EQ(back.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(back[i].fields, rows[i]) << i;
  EXPECT_EQ(back[0].line, 1u);
  EXPECT_EQ(back[1].line, 4u);  // the first record spans three lines
  EXPECT_EQ(back[2].line, 5u);
}

TEST(CsvTextTest, LineEndsBlankLinesAndAMissingFinalBreak) {
  const std::vector<CsvRecord> r = Parse("a,b\n\nc,\rd\r\n\"e\"");
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].fields, (Fields{"a", "b"}));
  EXPECT_EQ(r[1].fields, (Fields{"c", ""}));
  EXPECT_EQ(r[1].line, 3u);
  EXPECT_EQ(r[2].fields, (Fields{"d"}));
  EXPECT_EQ(r[3].fields, (Fields{"e"}));
  EXPECT_EQ(r[3].line, 5u);
  EXPECT_TRUE(Parse("").empty());
  EXPECT_TRUE(Parse(kUtf8ByteOrderMark).empty());
}

TEST(CsvTextTest, MalformedQuotingNamesTheLine) {
  std::vector<CsvRecord> r;
  Status s = ParseCsv("a,b\nc,\"open\nstill open", &r);
  ASSERT_FALSE(s);
  EXPECT_NE(s.why().find("line 2"), std::string::npos) << s.why();
  s = ParseCsv("a\n\"x\"y,z", &r);
  ASSERT_FALSE(s);
  EXPECT_NE(s.why().find("line 2"), std::string::npos) << s.why();
  s = ParseCsv("a\nb\nab\"c\n", &r);
  ASSERT_FALSE(s);
  EXPECT_NE(s.why().find("line 3"), std::string::npos) << s.why();
  EXPECT_TRUE(r.empty());
  s = ParseCsv("a,b,c\nx,y,\"z\"!", &r);
  EXPECT_EQ(s.why(), "line 2, field 3: text after the closing quote of a field");
}

TEST(CsvTextTest, TheHeaderLineChoosesTheSeparator) {
  EXPECT_EQ(CsvSeparatorOf("a,b,c\n1;2;3;4;5\n"), ',');
  EXPECT_EQ(CsvSeparatorOf(std::string(kUtf8ByteOrderMark) + "a;b;c\r\n1,2,3\r\n"), ';');
  EXPECT_EQ(CsvSeparatorOf("a\tb;c\td\n"), '\t');
  EXPECT_EQ(CsvSeparatorOf("\"a;b;c\",d\n"), ',');  // quoted separators do not count
  EXPECT_EQ(CsvSeparatorOf("a;b,c\n"), ',');        // a tie keeps the standard one
  EXPECT_EQ(CsvSeparatorOf("single\n"), ',');
  EXPECT_EQ(CsvSeparatorOf(""), ',');
  std::vector<CsvRecord> r;
  ASSERT_TRUE(ParseCsv("a;\"b;c\";d,e\n;\n", &r, ';'));
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].fields, (Fields{"a", "b;c", "d,e"}));
  EXPECT_EQ(r[1].fields, (Fields{"", ""}));
}

}  // namespace
}  // namespace qm
