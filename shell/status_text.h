// The message panel: six lines of text under the hero, where start-up greets and every command
// reports its outcome.
//
// BreakStatusText splits one message into the panel's lines: a line feed (or the two characters
// backslash and 'n', as a language file writes it) starts a new line; a line holds at most 56
// bytes and a double-byte character is never split across lines; text beyond the sixth line is
// dropped.
//
// Which bytes lead a double-byte character depends on the system's code page: Korean, Japanese
// and Chinese Windows have them, the single-byte pages (1250, 1251, 1252...) have none, so that
// an accented or Cyrillic letter right before a line break stands alone instead of swallowing
// the break. The functions ask the system unless the caller names a code page's test.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

constexpr size_t kStatusLines = 6;
constexpr size_t kStatusLineBytes = 56;

using StatusLines = std::array<std::string, kStatusLines>;

// Whether `byte` leads a double-byte character.
using LeadByteTest = bool (*)(unsigned char byte);
// The system's answer: IsDBCSLeadByte on Windows; no lead bytes elsewhere.
bool SystemLeadByte(unsigned char byte);

StatusLines BreakStatusText(std::string_view text, LeadByteTest is_lead = SystemLeadByte);

// Cuts `text` to at most `max_bytes` bytes without splitting a double-byte character.
std::string CutToBytes(std::string_view text, size_t max_bytes, LeadByteTest is_lead = SystemLeadByte);

}  // namespace qm
