#include "tools/language_fit/language_fit_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "resources/string_ids.h"
#include "skin/skin_text.h"
#include "tests/test_util.h"
#include "tools/language_files/language_source.h"

namespace qm::fit {
namespace {

// The shipped Russian editor file, as the build writes it.
std::string RussianEditorFile() {
  const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                                       "resources" / "language" / "RUS" / "QLMK.ini";
  const std::vector<uint8_t> bytes = test::ReadFileBytes(source.string());
  std::string file;
  EXPECT_TRUE(LanguageFileFromSource(std::string(bytes.begin(), bytes.end()), CodePage::k1251, &file));
  return file;
}

std::vector<uint32_t> ProblemIds(const FitReport& report) {
  std::vector<uint32_t> ids;
  for (const FitProblem& p : report.problems) ids.push_back(p.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

TEST(LanguageFit, FindsEachTextThatRunsOutOfItsPlace) {
  // Later lines win: a fitting translation with a few texts made too long.
  const std::string file =
      RussianEditorFile() +
      "205=\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC \xE2\xF1\xB8\r\n"           // a button: 13 letters
      "212=\xD0\xE0\xE7\xF0\xE5\xF8\xB8\xED \xE2 \xE8\xE3\xF0\xE5\r\n"      // the 80-pixel label
      "401=\xC6\xE5\xED\xF9\xE8\xED\xE0\r\n"                                // the narrow sex list
      "209=\xC1\xEE\xEB\xFC\xF8\xEE\xE9 \xEF\xEE\xF0\xF2\xF0\xE5\xF2:\r\n"  // runs under the Copy button
      "304=" +
      std::string(57, '\xE0') +
      "\r\n"                               // wrapped by the panel itself
      "306=1\\n2\\n3\\n4\\n5\\n6\\n7\r\n"  // a seventh line
      "501=" +
      std::string(30, '\xE0') + "\\n" + std::string(30, '\xE0') +
      "\r\n"  // one line at start-up
      "65537=" +
      std::string(60, '\xE0') + "\r\n";  // the translator credit
  const FitReport report = CheckLanguageFit(Program::kEditor, file, 1251);
  EXPECT_EQ(ProblemIds(report), (std::vector<uint32_t>{kLabelSave, kLabelLargeFace, kLabelAllowed, kMsgSaved, kMsgWiped,
                                                       kLabelFemale, kMsgNoGameData, skin::kTranslatorCreditString}));
  for (const FitProblem& p : report.problems) EXPECT_FALSE(p.why.empty());
  EXPECT_EQ(report.requested_font, "Courier New");
  EXPECT_GT(report.texts, 70u);
}

TEST(LanguageFit, TheShippedTranslationFits) {
  const FitReport report = CheckLanguageFit(Program::kEditor, RussianEditorFile(), 1251);
  EXPECT_TRUE(report.ok()) << report.problems.front().id << ": " << report.problems.front().why;
}

TEST(LanguageFit, NamesALetterTheFontLacks) {
  // U+E000, a private-use letter no font draws, in a file read as UTF-8.
  const FitReport report = CheckLanguageFit(Program::kPatcher, "[STRING]\n2011=Q\xEE\x80\x80it\n", CP_UTF8);
  ASSERT_EQ(report.problems.size(), 1u);
  EXPECT_EQ(report.problems[0].id, kPatcherLabelQuit);
  EXPECT_NE(report.problems[0].why.find("U+E000"), std::string::npos) << report.problems[0].why;
}

TEST(LanguageFit, TellsTheProgramByTheFileName) {
  EXPECT_EQ(ProgramOfFile("language/QLMKRUS.INI"), Program::kEditor);
  EXPECT_EQ(ProgramOfFile("C:\\Games\\language\\qlsxplk.ini"), Program::kPatcher);
  EXPECT_EQ(ProgramOfFile("QLMX.INI"), std::nullopt);
}

}  // namespace
}  // namespace qm::fit
