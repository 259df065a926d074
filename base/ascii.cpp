#include "base/ascii.h"

namespace qm {

bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiStartsWithNoCase(a, b);
}

bool AsciiStartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

}  // namespace qm
