#include "shell/language.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "base/ascii.h"
#include "base/file.h"

namespace qm {
namespace {

// A language file larger than this is refused rather than read whole.
constexpr size_t kMaxLanguageFileBytes = 64u << 20;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Walks the lines of a language file and calls define(id, text) for each line that defines a
// string with a slot in the table. Both passes of the parse use it, so they agree exactly.
template <typename Define>
void ForEachDefinition(std::string_view content, Define&& define) {
  bool in_string_section = false;
  uint32_t next_automatic_id = kFirstAutomaticStringId;
  while (!content.empty()) {
    const size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);

    // A line is read at most 2,047 characters at a time; the rest of a longer line is dropped
    // rather than read as a line of its own. Texts are zero-terminated, so a zero byte ends it.
    line = line.substr(0, kLanguageLineMaxChars);
    line = line.substr(0, line.find('\0'));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == '\t' || line.back() == ' ')) {
      line.remove_suffix(1);
    }

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      in_string_section = AsciiEqualNoCase(line, "[STRING]");
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const int32_t number = ParseKeyNumber(line.substr(0, eq));
    uint32_t id;
    if (number >= 1) {
      id = static_cast<uint32_t>(number);
    } else if (in_string_section) {
      continue;
    } else {
      id = next_automatic_id;
      if (next_automatic_id < kLanguageTableSlots) ++next_automatic_id;
    }
    if (id >= kLanguageTableSlots) continue;
    define(id, line.substr(eq + 1));
  }
}

bool ReadLanguageFile(const std::string& path, std::string* content) {
  std::vector<uint8_t> bytes;
  if (ReadWholeFile(path, kMaxLanguageFileBytes, &bytes) != ReadWholeResult::kOk) return false;
  content->assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace

int32_t ParseKeyNumber(std::string_view key) {
  size_t i = 0;
  while (i < key.size() && IsSpace(key[i])) ++i;
  if (i == key.size() || !IsDigit(key[i])) return 0;
  // Arithmetic wraps like the 32-bit integer it models; an overflow into the negative is
  // simply not a valid id.
  uint32_t value = 0;
  while (i < key.size() && IsDigit(key[i])) value = value * 10 + static_cast<uint32_t>(key[i++] - '0');
  if (i == key.size()) return static_cast<int32_t>(value);

  uint32_t scale;
  switch (key[i]) {
    case 'K': case 'k': scale = 1000; break;
    case 'M': case 'm': scale = 1000000; break;
    case 'G': case 'g': scale = 1000000000; break;
    default: return 0;
  }
  value *= scale;
  ++i;
  while (i < key.size() && IsDigit(key[i]) && scale >= 2) {
    scale /= 10;
    value += static_cast<uint32_t>(key[i++] - '0') * scale;
  }
  if (i == key.size()) return static_cast<int32_t>(value);
  if (scale == 1 && IsDigit(key[i])) return static_cast<int32_t>(value);  // finer digits ignored
  return 0;
}

Language::Language(ProgramStringSource program_strings, std::span<const StringEntry> fallback)
    : program_strings_(program_strings), fallback_(fallback), slots_(kLanguageTableSlots, nullptr) {}

void Language::SetPrefix(std::string_view prefix) {
  prefix_.assign(prefix.substr(0, kLanguagePrefixMaxChars));
}

void Language::SetCode(std::string_view code) { code_.assign(code.substr(0, kLanguageCodeMaxChars)); }

void Language::Load(std::string_view folder) {
  Release();
  for (auto& buffer : ring_) buffer.fill(0);
  ring_index_ = -1;
  if (code_.empty()) SetCode(LocaleLanguageCode());
  const std::string base = std::string(folder) + prefix_;
  if (!ParseFile(base + code_ + ".INI")) ParseFile(base + kFallbackLanguageCode + ".INI");
}

void Language::Release() {
  std::fill(slots_.begin(), slots_.end(), nullptr);
  std::vector<char>().swap(pool_);
}

bool Language::ParseFile(const std::string& path) {
  try {
    std::string content;
    if (!ReadLanguageFile(path, &content) || !LanguageFileInSystemCodePage(&content)) return false;
    ParseText(content);  // allocates the pool before it touches the table
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void Language::ParseText(std::string_view content) {
  size_t pool_size = 0;
  ForEachDefinition(content, [&](uint32_t, std::string_view text) { pool_size += text.size() + 1; });

  std::vector<char> pool(pool_size);
  Release();
  pool_.swap(pool);
  size_t used = 0;
  ForEachDefinition(content, [&](uint32_t id, std::string_view text) {
    char* at = pool_.data() + used;
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    used += text.size() + 1;
    slots_[id] = at;
  });
}

char* Language::NextBuffer() {
  ring_index_ = (ring_index_ + 1) % static_cast<int>(kTextRingBuffers);
  return ring_[static_cast<size_t>(ring_index_)].data();
}

const char* Language::Text(uint32_t id) {
  char* result = NextBuffer();
  result[0] = '\0';
  if (Defines(id)) {
    const char* text = slots_[id];
    const size_t n = strnlen(text, kTextBufferSize - 1);
    std::memcpy(result, text, n);
    result[n] = '\0';
    return result;
  }
  if (program_strings_ && program_strings_(id, result, kProgramStringMaxChars + 1) > 0) {
    result[kProgramStringMaxChars] = '\0';
    return result;
  }
  result[0] = '\0';
  for (const StringEntry& entry : fallback_) {
    if (entry.id != id) continue;
    if (id < kLanguageTableSlots) slots_[id] = entry.text;
    return entry.text;
  }
  return result;  // no source knows the id: an empty text
}

std::vector<uint32_t> Language::DefinedIds() const {
  std::vector<uint32_t> ids;
  for (uint32_t id = 0; id < kLanguageTableSlots; ++id) {
    if (slots_[id]) ids.push_back(id);
  }
  return ids;
}

Language& ProgramLanguage() {
  static Language language;
  return language;
}

}  // namespace qm
