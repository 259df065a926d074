// Entry names in qlmk's plain (tab-separated) output.
#pragma once

#include <string>
#include <string_view>

#include "qlmk/json_text.h"

namespace qlmk {

// Control characters escaped so a name stays in its column; backslashes (common in payload
// names such as "DATA\UPDATES.H4R") are left as they are.
inline std::string PlainName(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '\\') {
      out += c;
    } else {
      out += OneLineText(std::string_view(&c, 1));
    }
  }
  return out;
}

}  // namespace qlmk
