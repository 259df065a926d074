#include "heroes/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

constexpr CodePage kPages[] = {CodePage::k1250, CodePage::k1251, CodePage::k1252};

TEST(CodePageTest, EveryByteGoesToUtf8AndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  for (CodePage page : kPages) {
    std::string back;
    ASSERT_TRUE(Utf8ToCodePage(CodePageToUtf8(all, page), page, &back)) << static_cast<int>(page);
    EXPECT_EQ(back, all) << static_cast<int>(page);
  }
}

TEST(CodePageTest, KnownLetters) {
  EXPECT_EQ(CodePageToUtf8("\x80\xE9\x81\x8D\x8F\x90\x9D", CodePage::k1252),
            "\xE2\x82\xAC\xC3\xA9\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");  // euro, e acute, C1 controls
  EXPECT_EQ(CodePageToUtf8("\xC0\xFF\xA8", CodePage::k1251), "\xD0\x90\xD1\x8F\xD0\x81");  // A, ya, Yo
  EXPECT_EQ(CodePageToUtf8("\xA3\xF5\x8A", CodePage::k1250), "\xC5\x81\xC5\x91\xC5\xA0");  // L stroke, o", S caron
  std::string out;
  ASSERT_TRUE(Utf8ToCodePage("\xC5\x91", CodePage::k1250, &out));
  EXPECT_EQ(out, "\xF5");
}

TEST(CodePageTest, CharacterOutsideThePageIsAnErrorNotAQuestionMark) {
  std::string out = "unchanged";
  Status s = Utf8ToCodePage("ab\xC5\x91", CodePage::k1252, &out);  // o double acute
  ASSERT_FALSE(s);
  EXPECT_NE(s.why().find("U+0151"), std::string::npos) << s.why();
  EXPECT_NE(s.why().find("character 3"), std::string::npos) << s.why();
  EXPECT_NE(s.why().find("1252"), std::string::npos) << s.why();
  EXPECT_EQ(out, "unchanged");
  EXPECT_FALSE(Utf8ToCodePage("\xE2\x98\x83", CodePage::k1251, &out));  // snowman
  EXPECT_FALSE(Utf8ToCodePage("\xF0\x9F\x98\x80", CodePage::k1250, &out));  // emoji
}

TEST(CodePageTest, MalformedUtf8AndNulAreRefused) {
  std::string out;
  for (const char* bad : {"\xC3", "\xC3(", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF",
                          "\x80"}) {
    EXPECT_FALSE(Utf8ToCodePage(bad, CodePage::k1252, &out)) << bad;
  }
  EXPECT_FALSE(Utf8ToCodePage(std::string("a\0b", 3), CodePage::k1252, &out));
}

TEST(CodePageTest, NumbersOfPages) {
  CodePage page;
  ASSERT_TRUE(CodePageOfNumber(1251, &page));
  EXPECT_EQ(page, CodePage::k1251);
  EXPECT_FALSE(CodePageOfNumber(437, &page));
  EXPECT_FALSE(CodePageOfNumber(65001, &page));
}

}  // namespace
}  // namespace qm
