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

// A text on one line for plain output: line breaks, tabs and backslashes as C escapes.
inline std::string OneLineText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace qlmk
