#include "shell/status_text.h"

namespace qm {

StatusLines BreakStatusText(std::string_view text, LeadByteTest is_lead) {
  StatusLines lines;
  size_t line = 0;
  auto next_line = [&] { ++line; };
  auto append = [&](std::string_view bytes) {
    if (line < kStatusLines) lines[line].append(bytes);
  };

  for (size_t i = 0; i < text.size() && line < kStatusLines; ++i) {
    const char c = text[i];
    if (c == '\n') {
      next_line();
    } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      next_line();
      ++i;
    } else if (!is_lead(static_cast<unsigned char>(c))) {
      if (lines[line].size() >= kStatusLineBytes) next_line();
      append(text.substr(i, 1));
    } else if (i + 1 >= text.size()) {
      // A lead byte without its trail byte ends the text; keep it like a single byte.
      if (lines[line].size() >= kStatusLineBytes) next_line();
      append(text.substr(i, 1));
    } else {
      if (lines[line].size() + 2 > kStatusLineBytes) next_line();
      append(text.substr(i, 2));
      ++i;
    }
  }
  return lines;
}

std::string CutToBytes(std::string_view text, size_t max_bytes, LeadByteTest is_lead) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = (is_lead(static_cast<unsigned char>(text[end])) && end + 1 < text.size()) ? 2 : 1;
    if (end + width > max_bytes) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

}  // namespace qm
