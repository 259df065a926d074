#include "patcher/patcher_ui.h"

#include <cstdio>
#include <cstdlib>

#include "skin/pixel_shade.h"

namespace qm::patcher {
namespace {

using skin::BrightenArea;
using skin::ButtonLook;

void Row(Picture* p, int y, int x1, int x2, int amount) { BrightenArea(p, x1, y, x2, y, amount); }
void Column(Picture* p, int x, int y1, int y2, int amount) { BrightenArea(p, x, y1, x, y2, amount); }

}  // namespace

void ShadeButton(Picture* face, ButtonLook look) {
  const int l = 0;
  const int t = 0;
  const int r = face->width() - 1;
  const int b = face->height() - 1;
  if (r < 0 || b < 0) return;
  if (look == ButtonLook::kDisabled) {
    skin::GreyArea(face, l, t, r, b);
  } else {
    BrightenArea(face, l, t, r, b, kButtonFill);
  }
  switch (look) {
    case ButtonLook::kNormal:
      Row(face, t, l, r - 1, +40);
      Column(face, l, t + 1, b - 1, +40);
      Row(face, b - 1, l + 1, r - 1, -40);
      Column(face, r - 1, t + 1, b - 1, -40);
      Row(face, b, l, r, -80);
      Column(face, r, t, b - 1, -80);
      break;
    case ButtonLook::kPressed:
      Row(face, t, l, r - 1, -80);
      Column(face, l + 1, t, b - 1, -80);
      Column(face, l + 1, t + 2, b - 2, -40);
      Row(face, t + 1, l + 1, r - 2, -40);
      Row(face, b, l, r, +40);
      Column(face, r, t, b - 1, +40);
      break;
    case ButtonLook::kDisabled:
      Row(face, t, l, r - 1, +40);
      Column(face, l + 1, t + 1, b - 1, +40);
      Row(face, b - 1, l + 1, r - 1, -40);
      Column(face, r - 1, t + 1, b - 1, -40);
      Row(face, b, l, r, -80);
      Column(face, r, t, b - 1, -80);
      break;
  }
}

skin::LabelPasses ButtonLabelPasses(int width, int height, ButtonLook look) {
  const int x = (width - 1) / 2;   // (L + R) / 2 with L = 0
  const int y = (height - 1) / 2 - 7;  // (T + B) / 2 - 7 with T = 0
  skin::LabelPasses out;
  switch (look) {
    case ButtonLook::kNormal:
      out.pass[0] = {kLabelColour, x, y};
      out.count = 1;
      break;
    case ButtonLook::kPressed:
      out.pass[0] = {kLabelColour, x + 1, y + 1};
      out.count = 1;
      break;
    case ButtonLook::kDisabled:
      out.pass[0] = {skin::kDisabledShadowColour, x + 1, y + 1};
      out.pass[1] = {skin::kDisabledLabelColourValue, x, y};
      out.count = 2;
      break;
  }
  return out;
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
