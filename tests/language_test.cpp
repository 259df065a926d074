#include "shell/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "resources/string_ids.h"
#include "shell/program_strings.h"
#include "tests/test_util.h"

namespace qm {
namespace {

// A language over the editor's own string list, as the editor sees it on every platform.
struct EditorLanguage : Language {
  EditorLanguage() : Language(LookupEditorString) {}
};

TEST(KeyNumber, DigitsScalesAndFractions) {
  EXPECT_EQ(ParseKeyNumber("304"), 304);
  EXPECT_EQ(ParseKeyNumber(" \t304"), 304);
  EXPECT_EQ(ParseKeyNumber("1K"), 1000);
  EXPECT_EQ(ParseKeyNumber("1k5"), 1500);
  EXPECT_EQ(ParseKeyNumber("2M25"), 2250000);
  EXPECT_EQ(ParseKeyNumber("1K2345"), 1234);  // digits finer than 1 are ignored
  EXPECT_EQ(ParseKeyNumber("1g"), 1000000000);
  EXPECT_EQ(ParseKeyNumber("304 "), 0);
  EXPECT_EQ(ParseKeyNumber("12a"), 0);
  EXPECT_EQ(ParseKeyNumber("1K5x"), 0);
  EXPECT_EQ(ParseKeyNumber("1K "), 0);
  EXPECT_EQ(ParseKeyNumber("title"), 0);
  EXPECT_EQ(ParseKeyNumber(""), 0);
  EXPECT_EQ(ParseKeyNumber("-5"), 0);
  EXPECT_LT(ParseKeyNumber("3000000000"), 1);  // overflows into the negative
}

TEST(Language, StringSectionRules) {
  EditorLanguage lang;
  lang.ParseText("[string]\n304=Done.\n305 =ignored\n306=\n307=first\n307=second\nname=ignored\n");
  EXPECT_STREQ(lang.Text(304), "Done.");
  EXPECT_STREQ(lang.Text(305), "Failed to save.");  // blank before '=': not a number
  EXPECT_TRUE(lang.Defines(306));
  EXPECT_STREQ(lang.Text(306), "");  // an empty text replaces the resource
  EXPECT_STREQ(lang.Text(307), "second");
  EXPECT_FALSE(lang.Defines(kFirstAutomaticStringId));
}

TEST(Language, LinesOutsideTheStringSection) {
  EditorLanguage lang;
  lang.ParseText(
      "; comment\n"
      "1K=x\n"
      "title=German\n"
      "credit = Hans = Translator  \t\r\n"
      "[Other]\n"
      "more=y\n"
      "no equals sign\n"
      "[STRING]\n"
      "[stringx]\n"
      "last=z");  // no line break at the end
  EXPECT_STREQ(lang.Text(1000), "x");
  EXPECT_STREQ(lang.Text(65536), "German");
  EXPECT_STREQ(lang.Text(65537), " Hans = Translator");  // byte for byte, trailing blanks trimmed
  EXPECT_STREQ(lang.Text(65538), "y");
  EXPECT_STREQ(lang.Text(65539), "z");
  EXPECT_EQ(lang.DefinedIds(), (std::vector<uint32_t>{1000, 65536, 65537, 65538, 65539}));
}

TEST(Language, IdsWithoutASlotAreIgnored) {
  EditorLanguage lang;
  std::string text = "66559=top\n66560=over\n1M=over\n";
  for (int i = 0; i < 1025; ++i) text += "auto=" + std::to_string(i) + "\n";
  lang.ParseText(text);
  EXPECT_STREQ(lang.Text(66559), "1023");  // the 1,024th automatic id replaced "top"
  EXPECT_STREQ(lang.Text(65536), "0");
  EXPECT_EQ(lang.DefinedIds().size(), 1024u);
}

TEST(Language, LongTextsAndLines) {
  EditorLanguage lang;
  const std::string long_text(600, 'a');
  // A 2,047-character line is taken whole; the rest of a longer one is dropped, not read as
  // a line of its own.
  const std::string exact = "2=" + std::string(2045, 'b');
  const std::string over = "3=" + std::string(2045, 'c') + "4=tail";
  lang.ParseText("[STRING]\n1=" + long_text + "\n" + exact + "\n" + over + "\n");
  EXPECT_EQ(std::string(lang.Text(1)), long_text.substr(0, 511));
  EXPECT_TRUE(lang.Defines(2));
  EXPECT_TRUE(lang.Defines(3));
  EXPECT_FALSE(lang.Defines(4));
}

size_t LongResource(uint32_t id, char* buffer, size_t capacity) {
  if (id != 7) return 0;
  const std::string text(700, 'r');
  const size_t n = std::min(text.size(), capacity - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

TEST(Language, ResourceTextsAreCutTo510AndUnknownIdsAreEmpty) {
  Language lang(LongResource);
  EXPECT_EQ(std::strlen(lang.Text(7)), 510u);
  const char* missing = lang.Text(8);
  ASSERT_NE(missing, nullptr);
  EXPECT_STREQ(missing, "");
}

TEST(Language, FallbackTableIsConsultedLastAndRemembered) {
  static const StringEntry kFallback[] = {{304, "fallback 304"}, {9000, "fallback 9000"}};
  Language lang(LookupEditorString, kFallback);
  EXPECT_STREQ(lang.Text(kMsgSaved), "Saved Successfully.");  // the string table comes first
  EXPECT_FALSE(lang.Defines(9000));
  EXPECT_STREQ(lang.Text(9000), "fallback 9000");
  EXPECT_TRUE(lang.Defines(9000));
  EXPECT_STREQ(lang.Text(9000), "fallback 9000");
}

TEST(Language, TwentyFirstLookupReusesTheFirstBuffer) {
  EditorLanguage lang;
  const char* first = lang.Text(kMsgSaved);
  EXPECT_STREQ(first, "Saved Successfully.");
  for (int i = 0; i < 19; ++i) EXPECT_NE(lang.Text(kMsgSaveFailed), first);
  EXPECT_EQ(lang.Text(kLabelMale), first);
  EXPECT_STREQ(first, "Male");
}

TEST(Language, LoadPrefersTheLocaleFileAndFallsBackToEnglish) {
  test::TempDir dir;
  const std::string folder = dir.path().string() + "/";
  test::WriteFileText(folder + "QLMKDEU.INI", "[STRING]\n304=Gespeichert.\n");
  test::WriteFileText(folder + "QLMKENG.INI", "[STRING]\n304=Saved.\n305=Not saved.\n");

  EditorLanguage lang;
  lang.SetPrefix("QLMK");
  lang.SetCode("DEU");
  lang.Load(folder);
  EXPECT_STREQ(lang.Text(kMsgSaved), "Gespeichert.");
  EXPECT_STREQ(lang.Text(kMsgSaveFailed), "Failed to save.");  // the English file was not read

  lang.SetCode("KOR");
  lang.Load(folder);
  EXPECT_STREQ(lang.Text(kMsgSaved), "Saved.");
  EXPECT_STREQ(lang.Text(kMsgSaveFailed), "Not saved.");

  lang.SetPrefix("QLSX");
  lang.Load(folder);
  EXPECT_TRUE(lang.DefinedIds().empty());
  EXPECT_STREQ(lang.Text(kMsgSaved), "Saved Successfully.");

  EXPECT_FALSE(lang.ParseFile(folder + "missing.INI"));
}

// Today's text editors save UTF-8: such a file is read in the system's code page (1252 for the
// Windows suite), a byte order mark does not hide its first line, and a file already in the
// code page stays as it is. A UTF-8 file the code page cannot show is not used.
TEST(Language, Utf8FilesAreReadInTheSystemCodePage) {
  test::TempDir dir;
  const std::string utf8 = dir.File("QLMKDEU.INI"), ansi = dir.File("QLMKDEA.INI"), cyrillic = dir.File("QLMKRUS.INI");
  test::WriteFileText(utf8, "\xEF\xBB\xBF[STRING]\r\n304=Gespeichert \xC3\xA4\r\nname=x\r\n");
  test::WriteFileText(ansi, "[STRING]\r\n304=Gespeichert \xE4\r\n");
  test::WriteFileText(cyrillic, "[STRING]\r\n304=\xD0\x93\xD0\xBE\xD1\x82\xD0\xBE\xD0\xB2\xD0\xBE\r\n");
  EditorLanguage lang;
  ASSERT_TRUE(lang.ParseFile(utf8));
#ifdef _WIN32
  EXPECT_STREQ(lang.Text(kMsgSaved), "Gespeichert \xE4");
#else
  EXPECT_STREQ(lang.Text(kMsgSaved), "Gespeichert \xC3\xA4");
#endif
  EXPECT_FALSE(lang.Defines(kFirstAutomaticStringId));  // "name=x" lay in the string section
  ASSERT_TRUE(lang.ParseFile(ansi));
  EXPECT_STREQ(lang.Text(kMsgSaved), "Gespeichert \xE4");
#ifdef _WIN32
  EXPECT_FALSE(lang.ParseFile(cyrillic));
  EXPECT_STREQ(lang.Text(kMsgSaved), "Gespeichert \xE4");  // the table is as it was
#endif
}

TEST(Language, ReleaseForgetsTheFile) {
  EditorLanguage lang;
  lang.ParseText("[STRING]\n304=Done.\n");
  lang.Release();
  EXPECT_STREQ(lang.Text(kMsgSaved), "Saved Successfully.");
}

TEST(ProgramStrings, TheModuleStringTableHoldsTheEditorList) {
  // On Windows this reads the executable's STRINGTABLE built from the same list.
  char buffer[kProgramStringMaxChars + 1];
  for (const StringEntry& entry : EditorStrings()) {
    ASSERT_GT(LoadProgramString(entry.id, buffer, sizeof buffer), 0u) << entry.id;
    EXPECT_STREQ(buffer, entry.text) << entry.id;
  }
  EXPECT_EQ(LoadProgramString(999, buffer, sizeof buffer), 0u);
}

#ifndef _WIN32
// Saves and restores the locale variables around a test.
class LocaleEnvironment {
 public:
  LocaleEnvironment() {
    for (size_t i = 0; i < 3; ++i) {
      const char* v = std::getenv(kNames[i]);
      saved_[i] = v ? std::optional<std::string>(v) : std::nullopt;
      unsetenv(kNames[i]);
    }
  }
  ~LocaleEnvironment() {
    for (size_t i = 0; i < 3; ++i) {
      if (saved_[i]) setenv(kNames[i], saved_[i]->c_str(), 1); else unsetenv(kNames[i]);
    }
  }

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> saved_[3];
};

TEST(Locale, PosixLocalesMapToWindowsAbbreviations) {
  LocaleEnvironment env;
  EXPECT_EQ(LocaleLanguageCode(), "ENU");
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(LocaleLanguageCode(), "DEU");
  setenv("LANG", "en_GB", 1);
  EXPECT_EQ(LocaleLanguageCode(), "ENG");
  setenv("LC_ALL", "ko_KR.EUC-KR@euro", 1);  // LC_ALL wins over LANG
  EXPECT_EQ(LocaleLanguageCode(), "KOR");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(LocaleLanguageCode(), "ENU");
}
#endif

}  // namespace
}  // namespace qm
