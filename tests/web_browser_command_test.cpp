#include "web/browser_command.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

TEST(BrowserCommand, QuotedPlaceholderGoesWithItsQuotesAndTheSwitchesBehind) {
  EXPECT_EQ(BrowserCommandLine("\"C:\\Web\\browse.exe\" \"%1\" -new", "http://a.org/"),
            "\"C:\\Web\\browse.exe\"  http://a.org/");
}

TEST(BrowserCommand, BarePlaceholderAndNoPlaceholder) {
  EXPECT_EQ(BrowserCommandLine("browse.exe %1 -x", "http://a.org/"), "browse.exe  http://a.org/");
  EXPECT_EQ(BrowserCommandLine("browse.exe -nohome", "http://a.org/"),
            "browse.exe -nohome http://a.org/");
  // The quoted form wins even when a bare %1 comes first.
  EXPECT_EQ(BrowserCommandLine("b.exe %1x \"%1\"", "u"), "b.exe %1x  u");
}

TEST(BrowserCommand, LineMustFitTheBuffer) {
  const std::string command(500, 'c');
  // 500 + 1 space + 18 = 519 characters and the zero: fits exactly.
  EXPECT_TRUE(BrowserCommandLine(command, std::string(18, 'a')));
  EXPECT_EQ(BrowserCommandLine(command, std::string(19, 'a')), std::nullopt);
}

}  // namespace
}  // namespace qm
