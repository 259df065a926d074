// The end-to-end driver's scenario parser.
#include <gtest/gtest.h>

#include "tests/e2e/driver/scenario.h"

namespace qm::e2e {
namespace {

std::vector<Step> Parse(std::string_view text) {
  std::string error;
  std::optional<std::vector<Step>> steps = ParseScenario(text, &error);
  EXPECT_TRUE(steps) << error;
  return steps.value_or(std::vector<Step>{});
}

TEST(E2eScenario, SplitsVerbsAndArgumentsAndKeepsLineNumbers) {
  const std::vector<Step> steps = Parse(
      "# heading\n"
      "\n"
      "start quillmark.exe  \r\n"
      "\twait-window \"Quillmark SFX\"   # the patcher\n"
      "set-text Name \"Sir \\\"Quill\\\"\\n#1\\\\\" \n"
      "write-file a#b \"\"");
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].line, 3);
  EXPECT_EQ(steps[0].verb, "start");
  EXPECT_EQ(steps[0].args, std::vector<std::string>{"quillmark.exe"});
  EXPECT_EQ(steps[1].line, 4);
  EXPECT_EQ(steps[1].args, std::vector<std::string>{"Quillmark SFX"});
  EXPECT_EQ(steps[2].args, (std::vector<std::string>{"Name", "Sir \"Quill\"\n#1\\"}));
  EXPECT_EQ(steps[3].args, (std::vector<std::string>{"a#b", ""}));  // '#' inside a word stays
}

TEST(E2eScenario, MalformedQuotesNameTheLine) {
  for (const char* text : {"ok\nstart \"open", "ok\nstart \"bad\\q\"", "ok\nstart \"a\"b",
                           "ok\nstart \"ends in backslash\\"}) {
    std::string error;
    EXPECT_FALSE(ParseScenario(text, &error)) << text;
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
  }
}

}  // namespace
}  // namespace qm::e2e
