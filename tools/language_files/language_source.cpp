#include "tools/language_files/language_source.h"

#include <string>

#include "base/ascii.h"

namespace qm {
namespace {

// A plain decimal string id that has a slot in the programs' table.
bool IsStringNumber(std::string_view key) {
  if (key.empty() || key.size() > 5) return false;
  unsigned long value = 0;
  for (char c : key) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  return value >= 1 && value < kLanguageTableSlots;
}

// The line as the programs' reader sees it: trailing blanks, tabs and line ends removed.
std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\t' || line.back() == ' ')) line.remove_suffix(1);
  return line;
}

Status LineFailure(size_t number, const std::string& why) {
  return Status::Fail("line " + std::to_string(number) + ": " + why);
}

}  // namespace

Status LanguageFileFromSource(std::string_view utf8, CodePage page, std::string* out) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (utf8.substr(0, kByteOrderMark.size()) == kByteOrderMark) utf8.remove_prefix(kByteOrderMark.size());

  std::string result;
  bool in_string_section = false;
  size_t number = 0;
  while (!utf8.empty()) {
    ++number;
    const size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::string bytes;
    if (Status s = Utf8ToCodePage(line, page, &bytes); !s) return LineFailure(number, s.why());
    if (bytes.size() > kLanguageLineMaxChars) {
      return LineFailure(number, "the line is longer than " + std::to_string(kLanguageLineMaxChars) +
                                     " bytes, the most the programs read");
    }

    const std::string_view seen = Trimmed(bytes);
    if (!seen.empty() && seen[0] == '[') {
      in_string_section = AsciiEqualNoCase(seen, "[STRING]");
    } else if (!seen.empty() && seen[0] != ';') {
      const size_t eq = seen.find('=');
      if (in_string_section && (eq == std::string_view::npos || !IsStringNumber(seen.substr(0, eq)))) {
        return LineFailure(number, "not a string (a number from 1 to " + std::to_string(kLanguageTableSlots - 1) +
                                       ", '=' and the text); the programs would skip it");
      }
      constexpr size_t kTextMaxBytes = kTextBufferSize - 1;
      if (eq != std::string_view::npos && seen.size() - eq - 1 > kTextMaxBytes) {
        return LineFailure(
            number, "the text is longer than " + std::to_string(kTextMaxBytes) + " bytes, the most the programs show");
      }
    }
    result += bytes;
    result += "\r\n";
  }
  *out = std::move(result);
  return Status::Ok();
}

}  // namespace qm
