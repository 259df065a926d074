// The main window's input rules that need no window: which control notifications reach the
// command table, what the keyboard keys do and how the hero number box is read.
//
//   if (!qm::CommandGoesOn(id, notification, !catalogue.empty())) -> default handling
//   if (auto key = qm::KeyboardAction(wparam)) { move selection by key->...; run key->command; }
//   int wanted = qm::ParseNumberBoxText(text);   // "  +12abc" -> 12, "" -> 0
//
// Keys: Page Up / keypad 9 step ten records up (nine, then the up command), Page Down / keypad 3
// ten down, End / keypad 1 and Home / keypad 7 go to the first record (selection 0, then one
// step, which clamping turns into record 1), the arrows one record.
#pragma once

#include <optional>
#include <string_view>

namespace qm {

// Notification codes the filter tells apart (the platform's values).
constexpr int kNotifyEditChange = 0x0300;   // EN_CHANGE
constexpr int kNotifyListSelChange = 1;     // CBN_SELCHANGE
constexpr int kNotifyStaticClicked = 0;     // STN_CLICKED
constexpr int kNotifyStaticDblClick = 1;    // STN_DBLCLK

// The command filter: true when the notification goes on to the command table.
bool CommandGoesOn(int control_id, int notification, bool catalogue_nonempty);
// The biography box's notifications that do not go on still repaint the box.
bool RepaintsBiography(int control_id, int notification, bool catalogue_nonempty);

struct KeyAction {
  bool set_selection = false;  // selection = value, else selection += value
  int value = 0;
  int command = 0;             // then this command (next or previous record)
};
// Virtual-key codes as the platform numbers them.
std::optional<KeyAction> KeyboardAction(unsigned virtual_key);

// The number box's text as a signed decimal number: leading blanks and a sign allowed, digits
// up to the first other character, 0 without digits; values beyond int saturate.
int ParseNumberBoxText(std::string_view text);

}  // namespace qm
