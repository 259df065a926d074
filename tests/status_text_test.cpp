#include "shell/display_name.h"
#include "shell/status_text.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(StatusText, LineFeedsAndEscapedLineFeedsStartNewLines) {
  StatusLines lines = BreakStatusText("a\nb\\nc\nd");
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(lines[2], "c");
  EXPECT_EQ(lines[3], "d");
  EXPECT_EQ(lines[4], "");
}

TEST(StatusText, LongLineWrapsAt56Bytes) {
  StatusLines lines = BreakStatusText(std::string(120, 'x'));
  EXPECT_EQ(lines[0].size(), 56u);
  EXPECT_EQ(lines[1].size(), 56u);
  EXPECT_EQ(lines[2].size(), 8u);
}

// Lead bytes as on a Korean system, and none as on a Western, Cyrillic or Central European one.
bool KoreanLeadByte(unsigned char b) { return b >= 0xA1; }
bool SingleByteSystem(unsigned char) { return false; }

TEST(StatusText, DoubleByteCharacterIsNeverSplit) {
  std::string text(55, 'x');
  text += "\xB0\xA1";  // one double-byte character that no longer fits line 0
  StatusLines lines = BreakStatusText(text, KoreanLeadByte);
  EXPECT_EQ(lines[0], std::string(55, 'x'));
  EXPECT_EQ(lines[1], "\xB0\xA1");
  EXPECT_EQ(CutToBytes(text, 56, KoreanLeadByte), std::string(55, 'x'));
}

TEST(StatusText, TrailingLeadByteStaysAndTextBeyondSixLinesIsDropped) {
  EXPECT_EQ(BreakStatusText("ab\xB0", KoreanLeadByte)[0], "ab\xB0");
  StatusLines lines = BreakStatusText("1\n2\n3\n4\n5\n6\n7");
  EXPECT_EQ(lines[5], "6");
}

// On a single-byte code page a letter above 160 right before a line break keeps the break: a
// Russian "...файл\n" or a French "...réussi\n" from a language file breaks the line there.
TEST(StatusText, SingleByteLettersBeforeLineBreaksKeepTheBreak) {
  const std::string text = "\xF4\xE0\xE9\\n(\xE9)\xE9\nend";
  StatusLines lines = BreakStatusText(text, SingleByteSystem);
  EXPECT_EQ(lines[0], "\xF4\xE0\xE9");
  EXPECT_EQ(lines[1], "(\xE9)\xE9");
  EXPECT_EQ(lines[2], "end");
  std::string full(56, '\xE9');
  EXPECT_EQ(BreakStatusText(full + "\xE9", SingleByteSystem)[0], full);  // a full 56-byte line
  EXPECT_EQ(CutToBytes(full + "\xE9", 56, SingleByteSystem), full);
}

TEST(DisplayName, NetworkNameWinsUnlessItIsThePlaceholder) {
  EXPECT_EQ(ChooseDisplayName({"player", "Mira of Erathia"}, "bob"), "Mira of Erathia");
  EXPECT_EQ(ChooseDisplayName({"PLAYER"}, "bob"), "Bob");
}

TEST(DisplayName, LoginNameIsCutCleanedAndCapitalised) {
  EXPECT_EQ(ChooseDisplayName({}, "ADMINISTRATOR"), "Wanderer");
  EXPECT_EQ(ChooseDisplayName({}, "Player"), "Wanderer");
  EXPECT_EQ(ChooseDisplayName({}, "abcdefghijklmnopqrstuvwxy"), "Abcdefghijklmnopqrst");
  EXPECT_EQ(ChooseDisplayName({}, std::nullopt), "");
}

TEST(DisplayName, GreetingTakesTheNameOnceAndFitsOneLine) {
  EXPECT_EQ(FormatGreeting("Hello, %s.", "Bob"), "Hello, Bob.");
  // A translated template with stray format directives must not be interpreted.
  EXPECT_EQ(FormatGreeting("%d %s %n", "Bob"), "%d Bob %n");
  EXPECT_EQ(FormatGreeting("Hello, %s.", std::string(300, 'z')).size(), kStatusLineBytes);
}

}  // namespace
}  // namespace qm
