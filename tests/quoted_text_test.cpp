#include "base/quoted_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

TEST(QuotedTextTest, ControlsQuotesAndBrokenUtf8AreEscapedAndLettersKept) {
  // A name that would clear the terminal, break the message's line and carry a C1 control and
  // a stray code-page byte.
  const std::string hostile =
      std::string("A\x1B[2J\"b\"\\\r\n\t\x7F\x01\xC2\x85 Caf\xE9 ") + "\xD0\x9C\xF0\x9F\x98\x80";
  EXPECT_EQ(QuotedText(hostile),
            "\"A\\x1B[2J\\\"b\\\"\\\\\\r\\n\\t\\x7F\\x01\\u0085 Caf\\xE9 \xD0\x9C\xF0\x9F\x98\x80\"");
  EXPECT_EQ(EscapedText(hostile), "A\\x1B[2J\"b\"\\\\\\r\\n\\t\\x7F\\x01\\u0085 Caf\\xE9 \xD0\x9C\xF0\x9F\x98\x80");
  // A sequence cut short at the end, an overlong form and a NUL.
  EXPECT_EQ(EscapedText(std::string("x\xE2\x82", 3)), "x\\xE2\\x82");
  EXPECT_EQ(EscapedText("\xC0\xAF"), "\\xC0\\xAF");
  EXPECT_EQ(QuotedText(std::string("a\0b", 3)), "\"a\\x00b\"");
  EXPECT_EQ(QuotedText(""), "\"\"");
}

}  // namespace
}  // namespace qm
