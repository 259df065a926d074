// JSON string literals for qlmk's --json output of names whose code page nobody knows (archive
// entry names, language file texts): bytes 0x80..0xFF are written as \u0080..\u00FF (their
// Latin-1 reading), so every byte survives and a reader can map it back. Hero texts go through
// their code page instead (qlmk/hero_text.h).
#pragma once

#include <string>
#include <string_view>

#include "base/json_string.h"

namespace qlmk {

inline std::string JsonString(std::string_view text) {
  std::string out;
  qm::AppendJsonString(&out, text, qm::JsonBytes::kLatin1);
  return out;
}

// A text on one line for plain output: line breaks, tabs and backslashes as C escapes, other
// control characters as \xNN (they would move the cursor or recolour the terminal). Bytes
// 0x80..0xFF pass as they are: these texts have no known code page.
inline std::string OneLineText(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          static const char kHex[] = "0123456789ABCDEF";
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace qlmk
