#include "qlmk/sheet_options.h"

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

}  // namespace qlmk
