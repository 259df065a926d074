#include "qlmk/sheet_options.h"

#include <algorithm>

namespace qlmk {

bool CodePageFromArgs(const Args& args, qm::CodePage* page) {
  if (!args.Has("--codepage")) {
    *page = qm::kDefaultCodePage;
    return true;
  }
  const std::string text = args.Value("--codepage");
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  return qm::CodePageOfNumber(std::stol(text), page);
}

std::string UnknownOption(const std::vector<std::string>& words, const std::vector<std::string>& known) {
  for (const std::string& w : words) {
    if (w.size() < 2 || w[0] != '-' || (w[1] >= '0' && w[1] <= '9')) continue;
    const std::string name = w.substr(0, w.find('='));
    if (std::find(known.begin(), known.end(), name) == known.end()) return name;
  }
  return {};
}

}  // namespace qlmk
