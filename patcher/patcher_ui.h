// The patcher window's fixed layout and its button faces, kept apart from the window code so
// that both can be checked without a window system.
//
//   for (const qm::patcher::ControlPlacement& c : qm::patcher::kControls) CreateWindowExA(..., c.left, ...);
//   Picture face = ...background under the button...;
//   qm::patcher::ShadeButton(&face, qm::skin::ButtonLook::kPressed);
//   for (const LabelPass& pass : qm::patcher::ButtonLabelPasses(w, h, look)) draw the label
//
// Button face: the whole face is lightened by 25 (normal, pressed) or turned grey (disabled);
// then single rows and columns of the rim are lightened or darkened, raised when normal,
// sunken when pressed. Labels are white, one pixel right and down when pressed; a disabled
// label is drawn twice, a light engraving first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "portrait/picture.h"
#include "resources/string_ids.h"
#include "skin/button_face.h"

namespace qm::patcher {

constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 240;

// The patcher's control ids, as (name, id): kId<name> in code, <name> in the end-to-end
// scenarios (the driver's names come from this list).
#define QM_PATCHER_CONTROLS(X) \
  X(Dir, 1001)                 \
  X(Quit, 1002)                \
  X(HomePage, 1003)            \
  X(FolderBox, 1004)           \
  X(UpdateText, 1005)          \
  X(UpdatePortraits, 1006)

#define QM_PATCHER_CONTROL_ID(name, id) constexpr uint16_t kId##name = id;
QM_PATCHER_CONTROLS(QM_PATCHER_CONTROL_ID)
#undef QM_PATCHER_CONTROL_ID

enum class ControlKind { kButton, kFolderBox };

struct ControlPlacement {
  uint16_t id;
  ControlKind kind;
  int left, top, width, height;
  uint32_t label;  // string id; 0 for the folder box
};

// Creation order; the colour replies search this table by window.
constexpr std::array<ControlPlacement, 5> kControls = {{
    {kIdDir, ControlKind::kButton, 20, 60, 76, 20, kPatcherLabelDir},
    {kIdFolderBox, ControlKind::kFolderBox, 100, 61, 360, 18, 0},
    {kIdUpdatePortraits, ControlKind::kButton, 20, 96, 216, 60, kPatcherLabelUpdatePortraits},
    {kIdUpdateText, ControlKind::kButton, 244, 96, 216, 60, kPatcherLabelUpdateText},
    {kIdQuit, ControlKind::kButton, 202, 174, 76, 20, kPatcherLabelQuit},
}};

constexpr int kButtonFill = 25;          // how much a button face is lightened
constexpr int kFolderBoxLighten = 15;    // the folder box's pattern over the background
constexpr uint32_t kBackdropColour = MakeColour(180, 20, 8);
constexpr uint32_t kLabelColour = kColourWhite;
constexpr uint32_t kDisabledTextColour = MakeColour(213, 213, 213);

// Shades a whole picture as a button face of the picture's size.
void ShadeButton(Picture* face, skin::ButtonLook look);

// Where the label of a button of the given size is drawn (centre x, top y), in order.
skin::LabelPasses ButtonLabelPasses(int width, int height, skin::ButtonLook look);

// The version question (string 2014) with the game version put in. The text may come from a
// language file, so it is not handed to printf: only the first floating-point conversion
// ("%1.1f", or another width and precision of 'f') takes the version, "%%" gives '%', and any
// other '%' stays as it is.
std::string FormatVersionQuestion(std::string_view question, float version);

// The font weight from its string (a decimal number; anything else gives 0, the default).
int FontWeight(const char* text);

}  // namespace qm::patcher
