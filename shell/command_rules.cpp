#include "shell/command_rules.h"

#include <climits>

#include "skin/control_ids.h"

namespace qm {
namespace {

using namespace qm::skin;

constexpr unsigned kVkPageUp = 0x21, kVkPageDown = 0x22, kVkEnd = 0x23, kVkHome = 0x24;
constexpr unsigned kVkUp = 0x26, kVkDown = 0x28;
constexpr unsigned kVkPad1 = 0x61, kVkPad3 = 0x63, kVkPad7 = 0x67, kVkPad9 = 0x69;

}  // namespace

bool CommandGoesOn(int id, int notification, bool nonempty) {
  switch (id) {
    case kIdMessagePanel:
      return false;
    case kIdNumberBox:
    case kIdName:
    case kIdKeyword:
    case kIdBiography:
      return notification == kNotifyEditChange && nonempty;
    case kIdSex:
    case kIdClass:
      return notification == kNotifyListSelChange && nonempty;
    case kIdAllowedCheck:
    case kIdAllowedLabel:
      return notification == kNotifyStaticClicked || notification == kNotifyStaticDblClick;
    default:
      return true;
  }
}

bool RepaintsBiography(int id, int notification, bool nonempty) {
  return id == kIdBiography && !CommandGoesOn(id, notification, nonempty) &&
         notification != kNotifyEditChange;
}

std::optional<KeyAction> KeyboardAction(unsigned key) {
  switch (key) {
    case kVkPageUp:
    case kVkPad9:
      return KeyAction{false, 9, kIdUpArrow};
    case kVkPageDown:
    case kVkPad3:
      return KeyAction{false, -9, kIdDownArrow};
    case kVkEnd:
    case kVkPad1:
      return KeyAction{true, 0, kIdDownArrow};
    case kVkHome:
    case kVkPad7:
      return KeyAction{true, 0, kIdUpArrow};
    case kVkUp:
      return KeyAction{false, 0, kIdUpArrow};
    case kVkDown:
      return KeyAction{false, 0, kIdDownArrow};
    default:
      return std::nullopt;
  }
}

int ParseNumberBoxText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // saturate, keep going
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace qm
