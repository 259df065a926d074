#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "resources/string_ids.h"
#include "shell/language.h"
#include "shell/program_strings.h"
#include "shell/status_text.h"
#include "tests/test_util.h"
#include "tools/language_files/language_source.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

fs::path LanguageFolder() { return fs::path(__FILE__).parent_path().parent_path() / "resources" / "language"; }

std::string ReadText(const fs::path& path) {
  const std::vector<uint8_t> bytes = test::ReadFileBytes(path.string());
  return std::string(bytes.begin(), bytes.end());
}

// One line of languages.txt.
struct ShippedLanguage {
  std::string code;
  long code_page = 0;
  std::vector<std::string> regions;
};

std::vector<ShippedLanguage> ReadLanguageList() {
  std::vector<ShippedLanguage> list;
  std::istringstream lines(ReadText(LanguageFolder() / "languages.txt"));
  for (std::string line; std::getline(lines, line);) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    ShippedLanguage language;
    if (!(fields >> language.code >> language.code_page)) continue;
    for (std::string region; fields >> region;) language.regions.push_back(region);
    list.push_back(language);
  }
  return list;
}

struct ProgramFiles {
  const char* source;  // file name in the language's folder
  std::span<const StringEntry> strings;
  ProgramStringSource lookup;
};
const ProgramFiles kPrograms[] = {{"QLMK.ini", EditorStrings(), LookupEditorString},
                                  {"QLSX.ini", PatcherStrings(), LookupPatcherString}};

// The printf conversions of a text, in order ("%s", "%1.1f"; "%%" is none).
std::vector<std::string> Conversions(std::string_view text) {
  std::vector<std::string> found;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    size_t end = i + 1;
    while (end < text.size() && std::strchr("0123456789.-+ #", text[end]) != nullptr) ++end;
    if (end < text.size() && text[end] != '%') found.emplace_back(text.substr(i, end - i + 1));
    i = end;
  }
  return found;
}

// Words that are the same in a language as in English, where that is the right translation.
const std::map<std::string, std::set<uint32_t>> kSameAsEnglish = {
    {"DEU", {kLabelBilinear, kLabelLord}},
    {"FRA", {kLabelArcher, kLabelMage}},
    {"PLK", {kLabelDruid, kLabelLord}},
    {"CSY", {kLabelDruid, kLabelLord}},
    {"RUS", {}},
};

TEST(LanguageSource, WritesEachLineInTheCodePageEndingInCrLf) {
  std::string out;
  // A byte order mark is dropped, CR LF and LF sources give the same file, and the last line
  // gets its line end too.
  ASSERT_TRUE(LanguageFileFromSource(
      "\xEF\xBB\xBF; \xD0\xBA\r\n[STRING]\n304=\xD0\x93\xD0\xBE\xD1\x82\xD0\xBE\xD0\xB2\xD0\xBE.", CodePage::k1251,
      &out));
  EXPECT_EQ(out, "; \xEA\r\n[STRING]\r\n304=\xC3\xEE\xF2\xEE\xE2\xEE.\r\n");
  ASSERT_TRUE(LanguageFileFromSource("Language=Polski\n[STRING]\n212=Dozwolony \xC5\xBC\n", CodePage::k1250, &out));
  EXPECT_EQ(out, "Language=Polski\r\n[STRING]\r\n212=Dozwolony \xBF\r\n");
}

TEST(LanguageSource, RefusesWhatTheProgramsWouldShowWrongOrNotAtAll) {
  struct Case {
    std::string source;
    CodePage page;
    std::string why;
  };
  const Case cases[] = {
      // A letter the code page cannot hold is never turned into '?'.
      {"[STRING]\n304=Saved \xC4\x85\n", CodePage::k1252,
       "line 2: the character '\xC4\x85' (U+0105) at character 11 is not in code page 1252"},
      {"[STRING]\n304=\xD0\n", CodePage::k1251, "line 2: the text is not valid UTF-8 at character 5"},
      // Lines the programs would skip without a word.
      {"[STRING]\n304 =Saved\n", CodePage::k1252, "line 2: not a string"},
      {"[string]\nsaved=Saved\n", CodePage::k1252, "line 2: not a string"},
      {"[STRING]\n304\n", CodePage::k1252, "line 2: not a string"},
      {"[STRING]\n66560=Saved\n", CodePage::k1252, "line 2: not a string"},
      // Texts and lines longer than the programs take.
      {"[STRING]\n304=" + std::string(512, 'x') + "\n", CodePage::k1252, "line 2: the text is longer than 511"},
      {"; " + std::string(2046, 'x') + "\n", CodePage::k1252, "line 1: the line is longer than 2047"},
  };
  for (const Case& c : cases) {
    std::string out = "untouched";
    const Status s = LanguageFileFromSource(c.source, c.page, &out);
    ASSERT_FALSE(s) << c.source.substr(0, 40);
    EXPECT_EQ(s.why().substr(0, c.why.size()), c.why);
    EXPECT_EQ(out, "untouched");
  }
  // Outside the string section a key is a name (the About box's language and translator).
  std::string out;
  EXPECT_TRUE(LanguageFileFromSource("Language=Deutsch\n[STRING]\n304=x\n[Other]\nnote\n", CodePage::k1252, &out));
}

TEST(ShippedLanguages, TheListNamesEachFolderOnceWithItsCodePage) {
  const std::vector<ShippedLanguage> list = ReadLanguageList();
  ASSERT_FALSE(list.empty());
  std::set<std::string> codes, listed;
  for (const ShippedLanguage& language : list) {
    CodePage page;
    EXPECT_TRUE(CodePageOfNumber(language.code_page, &page)) << language.code;
    listed.insert(language.code);
    EXPECT_TRUE(codes.insert(language.code).second) << language.code << " is listed twice";
    for (const std::string& region : language.regions) {
      EXPECT_EQ(region.size(), 3u) << region;
      EXPECT_TRUE(codes.insert(region).second) << region << " is listed twice";
    }
    for (const ProgramFiles& program : kPrograms) {
      EXPECT_TRUE(fs::exists(LanguageFolder() / language.code / program.source))
          << language.code << "/" << program.source;
    }
  }
  // The English file is the programs' fallback, not a translation.
  EXPECT_EQ(codes.count(kFallbackLanguageCode), 0u);
  // A translation in a folder of its own is shipped only once it is listed.
  for (const fs::directory_entry& entry : fs::directory_iterator(LanguageFolder())) {
    if (entry.is_directory()) {
      EXPECT_EQ(listed.count(entry.path().filename().string()), 1u) << entry.path();
    }
  }
}

// Every translation holds every string of the program, translated, with the same printf
// conversions, plus the language and translator lines of the About box.
TEST(ShippedLanguages, EveryStringIsTranslated) {
  for (const ShippedLanguage& language : ReadLanguageList()) {
    CodePage page;
    ASSERT_TRUE(CodePageOfNumber(language.code_page, &page));
    for (const ProgramFiles& program : kPrograms) {
      SCOPED_TRACE(language.code + "/" + program.source);
      std::string bytes;
      const Status converted =
          LanguageFileFromSource(ReadText(LanguageFolder() / language.code / program.source), page, &bytes);
      ASSERT_TRUE(converted) << converted.why();
      Language lang(nullptr);
      lang.ParseText(bytes);

      std::vector<uint32_t> expected;
      for (const StringEntry& entry : program.strings) {
        expected.push_back(entry.id);
        ASSERT_TRUE(lang.Defines(entry.id)) << entry.id << " is not translated";
        const std::string text = lang.Text(entry.id);
        EXPECT_EQ(Conversions(text), Conversions(entry.text)) << entry.id << ": " << text;
        const bool number = std::strspn(entry.text, "0123456789") == std::strlen(entry.text);
        if (!number && !kSameAsEnglish.at(language.code).count(entry.id)) {
          EXPECT_NE(text, entry.text) << entry.id << " is still in English";
        }
      }
      expected.push_back(kFirstAutomaticStringId);      // Language=
      expected.push_back(kFirstAutomaticStringId + 1);  // Translator=
      EXPECT_EQ(lang.DefinedIds(), expected);
      EXPECT_STRNE(lang.Text(kFirstAutomaticStringId), "");
      EXPECT_STRNE(lang.Text(kFirstAutomaticStringId + 1), "");
    }
  }
}

// The lists' entries are read back by their text (the sex, class and resize method the user
// picks), so within a list no two may read alike.
TEST(ShippedLanguages, ListEntriesStayDistinct) {
  struct Range {
    uint32_t first, last;
  };
  for (const ShippedLanguage& language : ReadLanguageList()) {
    CodePage page;
    ASSERT_TRUE(CodePageOfNumber(language.code_page, &page));
    std::string bytes;
    ASSERT_TRUE(LanguageFileFromSource(ReadText(LanguageFolder() / language.code / "QLMK.ini"), page, &bytes));
    Language lang(nullptr);
    lang.ParseText(bytes);
    for (const Range& r : {Range{kLabelMale, kLabelFemale}, Range{kLabelGeneric, kLabelDeathKnight},
                           Range{kLabelPixelResize, kLabelBicubic}}) {
      for (uint32_t a = r.first; a <= r.last; ++a) {
        for (uint32_t b = a + 1; b <= r.last; ++b) {
          EXPECT_FALSE(AsciiEqualNoCase(lang.Text(a), lang.Text(b))) << language.code << ": " << a << " and " << b;
        }
      }
    }
  }
}

// A language file that is broken in the ways players' files are still gives every text: a
// UTF-8 file where the system's code page was expected, broken lines, unknown ids, a missing
// last line end. Texts the file gets wrong fall back to the program's own.
TEST(LanguageFile, BrokenFilesStillGiveEveryText) {
  const std::string utf8_russian = ReadText(LanguageFolder() / "RUS" / "QLMK.ini");
  std::string broken =
      "\xEF\xBB\xBF[STRING]\n"  // a byte order mark hides the section line
      "304=\xD0\xA1\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB5\xD0\xBD\xD0\xBE.\n"
      "[STRING]\n"
      "305 =no\n"
      "=no key\n"
      "no equals sign\n"
      "70000=no slot\n"
      "9999=unknown id\n";
  broken += "306=" + std::string(3000, '\xE9') + "\n";  // longer than a line is read
  broken += std::string("307=ends\0here\n", 14);        // a zero byte ends the text
  broken += "308=no line end";
  for (const std::string& content : {utf8_russian, broken}) {
    Language lang(LookupEditorString);
    lang.ParseText(content);
    for (const StringEntry& entry : EditorStrings()) {
      const char* text = lang.Text(entry.id);
      ASSERT_NE(text, nullptr);
      EXPECT_LE(std::strlen(text), kTextBufferSize - 1);
      for (const std::string& line : BreakStatusText(text)) EXPECT_LE(line.size(), kStatusLineBytes);
    }
  }
  Language lang(LookupEditorString);
  lang.ParseText(broken);
  EXPECT_STREQ(lang.Text(kMsgSaved), "\xD0\xA1\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB5\xD0\xBD\xD0\xBE.");
  EXPECT_STREQ(lang.Text(kMsgSaveFailed), "Failed to save.");
  EXPECT_EQ(std::strlen(lang.Text(kMsgWiped)), kTextBufferSize - 1);
  EXPECT_STREQ(lang.Text(kMsgWipeFailed), "ends");
  EXPECT_STREQ(lang.Text(kMsgLoadedLarge), "no line end");
}

}  // namespace
}  // namespace qm
