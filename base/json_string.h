// JSON string literals, the one escaper behind every --json output and the catalogue's JSON.
//
//   std::string out;
//   qm::AppendJsonString(&out, "say \"hi\"\n");                    // UTF-8 text
//   qm::AppendJsonString(&out, game_text, qm::JsonBytes::kLatin1);   // code-page bytes
//
// Quotes, backslashes and control characters are always escaped, so the literal is valid JSON
// for any input. Bytes from 0x80 are copied as they are for UTF-8 text; for single-byte game
// texts whose code page is not known (kLatin1) they are written as \u0080..\u00FF, their
// Latin-1 reading, so every byte survives and a reader can map it back.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qm {

enum class JsonBytes { kUtf8, kLatin1 };

inline void AppendJsonString(std::string* out, std::string_view text, JsonBytes bytes = JsonBytes::kUtf8) {
  out->push_back('"');
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': *out += "\\\""; break;
      case '\\': *out += "\\\\"; break;
      case '\n': *out += "\\n"; break;
      case '\r': *out += "\\r"; break;
      case '\t': *out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && bytes == JsonBytes::kLatin1)) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          *out += escape;
        } else {
          out->push_back(ch);
        }
    }
  }
  out->push_back('"');
}

}  // namespace qm
