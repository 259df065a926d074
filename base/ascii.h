// Text comparison the way the game does it: only the ASCII letters 'A'..'Z' fold to lower
// case; every other byte (system code page, double-byte lead bytes) compares as it is.
#pragma once

#include <string_view>

namespace qm {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Whole-text equality without regard to ASCII case.
bool AsciiEqualNoCase(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, without regard to ASCII case.
bool AsciiStartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace qm
