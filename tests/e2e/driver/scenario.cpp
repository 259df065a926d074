#include "tests/e2e/driver/scenario.h"

namespace qm::e2e {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Splits one line into words; false with `why` on a malformed quote.
bool SplitLine(std::string_view line, std::vector<std::string>& words, std::string& why) {
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          word += c;
          continue;
        }
        if (i == line.size()) break;
        switch (const char e = line[i++]) {
          case '"': case '\\': word += e; break;
          case 'n': word += '\n'; break;
          case 'r': word += '\r'; break;
          case 't': word += '\t'; break;
          default: why = std::string("unknown escape \\") + e; return false;
        }
      }
      if (!closed) {
        why = "unclosed quote";
        return false;
      }
      if (i < line.size() && !IsBlank(line[i]) && line[i] != '#') {
        why = "text right after a closing quote";
        return false;
      }
    } else {
      while (i < line.size() && !IsBlank(line[i])) word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return true;
}

}  // namespace

std::optional<std::vector<Step>> ParseScenario(std::string_view text, std::string* error) {
  std::vector<Step> steps;
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;

    std::vector<std::string> words;
    std::string why;
    if (!SplitLine(line, words, why)) {
      if (error) *error = "line " + std::to_string(number) + ": " + why;
      return std::nullopt;
    }
    if (words.empty()) continue;
    Step step;
    step.line = number;
    step.verb = std::move(words.front());
    step.args.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
    steps.push_back(std::move(step));
  }
  return steps;
}

}  // namespace qm::e2e
