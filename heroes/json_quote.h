// JSON string literals of UTF-8 text, for the catalogue's JSON forms.
//
//   std::string out;
//   qm::AppendJsonString(&out, "say \"hi\"\n");   // -> "say \"hi\"\n" with escapes
//
// The text must already be UTF-8 (CodePageToUtf8 gives that); its bytes from 0x80 are copied
// as they are. Quotes, backslashes and control characters are escaped, so the literal is
// valid JSON for any input.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qm {

inline void AppendJsonString(std::string* out, std::string_view utf8) {
  out->push_back('"');
  for (char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': *out += "\\\""; break;
      case '\\': *out += "\\\\"; break;
      case '\n': *out += "\\n"; break;
      case '\r': *out += "\\r"; break;
      case '\t': *out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
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
