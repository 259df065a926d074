// HTML text: the one escaper behind every page qlmk writes, and base64 for pictures carried
// inside a page as data: addresses.
//
//   std::string out = "<p title=\"";
//   qm::AppendHtmlEscaped(&out, hero_name);     // safe in element content and quoted attributes
//   out += "\">";
//   out += qm::HtmlEscaped(biography);
//   std::string src = "data:image/png;base64," + qm::Base64(png_bytes);
//
// Escaping turns & < > " ' into character references, so no text can open or close an element
// or an attribute, whatever it holds; every other byte is copied as it is (the texts are UTF-8).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qm {

inline void AppendHtmlEscaped(std::string* out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': *out += "&amp;"; break;
      case '<': *out += "&lt;"; break;
      case '>': *out += "&gt;"; break;
      case '"': *out += "&quot;"; break;
      case '\'': *out += "&#39;"; break;
      default: out->push_back(c);
    }
  }
}

inline std::string HtmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlEscaped(&out, text);
  return out;
}

// Standard base64 (RFC 4648, with '=' padding), as data: addresses take it.
inline void AppendBase64(std::string* out, std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out->reserve(out->size() + (bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    out->push_back(kDigits[v >> 18]);
    out->push_back(kDigits[(v >> 12) & 63]);
    out->push_back(kDigits[(v >> 6) & 63]);
    out->push_back(kDigits[v & 63]);
  }
  if (const size_t rest = bytes.size() - i; rest > 0) {
    const uint32_t v = (uint32_t{bytes[i]} << 16) | (rest == 2 ? uint32_t{bytes[i + 1]} << 8 : 0);
    out->push_back(kDigits[v >> 18]);
    out->push_back(kDigits[(v >> 12) & 63]);
    out->push_back(rest == 2 ? kDigits[(v >> 6) & 63] : '=');
    out->push_back('=');
  }
}

inline std::string Base64(std::span<const uint8_t> bytes) {
  std::string out;
  AppendBase64(&out, bytes);
  return out;
}

}  // namespace qm
