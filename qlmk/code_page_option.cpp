#include "qlmk/code_page_option.h"

#include <string>

namespace qlmk {

int CodePageFromArgs(const Args& args, qm::CodePage* page) {
  if (!args.Has("--codepage")) {
    *page = qm::kDefaultCodePage;
    return kExitOk;
  }
  const std::string text = args.Value("--codepage");
  const bool number = !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
  if (!number || !qm::CodePageOfNumber(std::stol(text), page)) {
    return args.Usage("--codepage takes 1252, 1251 or 1250");
  }
  return kExitOk;
}

}  // namespace qlmk
