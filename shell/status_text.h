// The message panel: six lines of text under the hero, where start-up greets and every command
// reports its outcome.
//
// BreakStatusText splits one message into the panel's lines: a line feed (or the two characters
// backslash and 'n', as a language file writes it) starts a new line; a line holds at most 56
// bytes and a double-byte character (lead byte 161 or more) is never split across lines; text
// beyond the sixth line is dropped.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

constexpr size_t kStatusLines = 6;
constexpr size_t kStatusLineBytes = 56;

using StatusLines = std::array<std::string, kStatusLines>;

StatusLines BreakStatusText(std::string_view text);

// Cuts `text` to at most `max_bytes` bytes without splitting a double-byte character.
std::string CutToBytes(std::string_view text, size_t max_bytes);

}  // namespace qm
