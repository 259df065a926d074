#include "base/quoted_text.h"

#include <cstdint>
#include <cstdio>

#include "base/utf8.h"

namespace qm {
namespace {

void AppendEscaped(std::string* out, std::string_view text, bool quoted) {
  char escape[8];
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    uint32_t cp = 0;
    if (!NextUtf8CodePoint(text, &pos, &cp)) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(static_cast<uint8_t>(text[pos])));
      *out += escape;
      ++pos;
      continue;
    }
    switch (cp) {
      case '\\': *out += "\\\\"; continue;
      case '\n': *out += "\\n"; continue;
      case '\r': *out += "\\r"; continue;
      case '\t': *out += "\\t"; continue;
      case '"': *out += quoted ? "\\\"" : "\""; continue;
      default: break;
    }
    if (cp < 0x20 || cp == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(cp));
      *out += escape;
    } else if (cp >= 0x80 && cp <= 0x9F) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(cp));
      *out += escape;
    } else {
      out->append(text, start, pos - start);
    }
  }
}

}  // namespace

std::string QuotedText(std::string_view utf8) {
  std::string out = "\"";
  AppendEscaped(&out, utf8, true);
  out += '"';
  return out;
}

std::string EscapedText(std::string_view utf8) {
  std::string out;
  AppendEscaped(&out, utf8, false);
  return out;
}

}  // namespace qm
