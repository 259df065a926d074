#include "shell/language_template.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "shell/program_strings.h"
#include "tests/test_util.h"

namespace qm {
namespace {

std::string ShippedTemplate(const char* name) {
  const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path();
  const std::vector<uint8_t> bytes =
      test::ReadFileBytes((source / "resources" / "language-template" / name).string());
  return std::string(bytes.begin(), bytes.end());
}

// The shipped templates are generated from the string lists (qlmk strings --template); they
// must follow every change of a list.
TEST(LanguageTemplate, ShippedFilesMatchTheStringLists) {
  EXPECT_EQ(ShippedTemplate("QLMKENG.INI"), EditorLanguageTemplate())
      << "regenerate with: qlmk strings --template editor > resources/language-template/QLMKENG.INI";
  EXPECT_EQ(ShippedTemplate("QLSXENG.INI"), PatcherLanguageTemplate())
      << "regenerate with: qlmk strings --template patcher > resources/language-template/QLSXENG.INI";
}

TEST(LanguageTemplate, UsedUnchangedItKeepsEveryTextOfTheProgram) {
  for (auto [strings, text] : {std::pair{EditorStrings(), EditorLanguageTemplate()},
                               std::pair{PatcherStrings(), PatcherLanguageTemplate()}}) {
    Language lang(nullptr);
    lang.ParseText(text);
    size_t one_line_count = 0;
    for (const StringEntry& entry : strings) {
      const bool one_line = std::strpbrk(entry.text, "\r\n") == nullptr;
      EXPECT_EQ(lang.Defines(entry.id), one_line) << entry.id;
      if (one_line) {
        EXPECT_STREQ(lang.Text(entry.id), entry.text) << entry.id;
      }
      one_line_count += one_line;
    }
    EXPECT_EQ(lang.DefinedIds().size(), one_line_count);  // no About-box translation credit
  }
}

TEST(LanguageTemplate, StringListsAreSortedAndUnique) {
  for (auto strings : {EditorStrings(), PatcherStrings()}) {
    for (size_t i = 1; i < strings.size(); ++i) EXPECT_LT(strings[i - 1].id, strings[i].id);
  }
}

}  // namespace
}  // namespace qm
