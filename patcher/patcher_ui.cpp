#include "patcher/patcher_ui.h"

#include <cstdio>
#include <cstdlib>

namespace qm::patcher {

// The patcher's bevel is lighter than the editor's: a lit top and left edge.
constexpr skin::Bevel kPatcherBevel{+40, -40, -80};

void ShadeButton(Picture* face, skin::ButtonLook look) {
  const int r = face->width() - 1;
  const int b = face->height() - 1;
  if (r < 0 || b < 0) return;
  skin::ShadeButtonFace(face, 0, 0, r, b, kButtonFill, look, kPatcherBevel);
}

skin::LabelPasses ButtonLabelPasses(int width, int height, skin::ButtonLook look) {
  const int x = (width - 1) / 2;       // (L + R) / 2 with L = 0
  const int y = (height - 1) / 2 - 7;  // (T + B) / 2 - 7 with T = 0
  return skin::LabelPassesAt(x, y, kLabelColour, look);
}

std::string FormatVersionQuestion(std::string_view question, float version) {
  std::string out;
  bool used = false;
  for (size_t i = 0; i < question.size(); ++i) {
    if (question[i] != '%') {
      out += question[i];
      continue;
    }
    if (i + 1 < question.size() && question[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // %[flags][width][.precision]f, with at most two digits each, so the output stays small.
    size_t j = i + 1;
    while (j < question.size() && std::string_view("-+ 0#").find(question[j]) != std::string_view::npos) ++j;
    const auto digits = [&](size_t at) {
      size_t end = at;
      while (end < question.size() && end - at < 2 && question[end] >= '0' && question[end] <= '9') ++end;
      return end;
    };
    j = digits(j);
    if (j < question.size() && question[j] == '.') j = digits(j + 1);
    if (!used && j < question.size() && question[j] == 'f') {
      const std::string conversion(question.substr(i, j - i + 1));
      char number[128];
      const int n = std::snprintf(number, sizeof number, conversion.c_str(), static_cast<double>(version));
      if (n > 0) out.append(number, static_cast<size_t>(n) < sizeof number ? static_cast<size_t>(n) : sizeof number - 1);
      used = true;
      i = j;
      continue;
    }
    out += '%';
  }
  return out;
}

int FontWeight(const char* text) { return text == nullptr ? 0 : std::atoi(text); }

}  // namespace qm::patcher
