// Control ids and control-table slots of the editor's windows.
//
// Every control of the main window and of the two panel windows has a fixed command id and a
// fixed slot in the control table (49 window handles; slot 0 is the main window). The colour
// replies and the control brushes go by slot, the commands by id.
//
//   qm::skin::Control(qm::skin::kSlotName)      // the name edit box (controls_win32.h)
//   case qm::skin::kIdSave: ...                 // WM_COMMAND of the main window
//
// Portable: no platform headers, so the shell's logic and the tests can name controls too.
#pragma once

namespace qm::skin {

constexpr int kControlSlots = 49;

// Command / control ids.
enum ControlId : int {
  kIdMessagePanel = 1000,
  kIdMinimize = 1001,
  kIdClose = 1002,
  kIdNumberBox = 1003,
  kIdUpArrow = 1004,    // next record
  kIdDownArrow = 1005,  // previous record
  kIdName = 1006,
  kIdBiography = 1007,
  kIdDir = 1008,
  kIdPatch = 1009,
  kIdDesignerHome = 1010,
  kIdProgramHome = 1011,
  kIdCopySmall = 1012,
  kIdCopyLarge = 1013,
  kIdPasteSmall = 1014,
  kIdPasteLarge = 1015,
  kIdSave = 1016,
  kIdWipe = 1017,
  kIdMakeSfx = 1018,
  kIdLargeFace = 1019,
  kIdSmallFace = 1020,
  kIdLoadLarge = 1021,
  kIdLoadSmall = 1022,
  kIdUpdateCheck = 1023,  // no control: the update check's own command
  kIdKeyword = 1026,
  kIdSex = 1027,
  kIdClass = 1028,
  kIdAllowedCheck = 1029,
  kIdAllowedLabel = 1030,
  kIdAbout = 1034,
  kIdOption = 1035,
  kIdAboutClose = 1036,
  kIdOptionClose = 1037,
  kIdAspectCheck = 1038,
  kIdAspectLabel = 1039,
  kIdXRangeBar = 1040,
  kIdXRangeCheck = 1041,
  kIdXRangeLabel = 1042,
  kIdYRangeBar = 1043,
  kIdYRangeCheck = 1044,
  kIdYRangeLabel = 1045,
  kIdResizeMethod = 1046,
  kIdAutoRingCheck = 1049,
  kIdAutoRingLabel = 1050,
  kIdSmallCopyCheck = 1051,
  kIdSmallCopyLabel = 1052,
};

constexpr int kFirstControlId = 1000;
constexpr int kLastControlId = 1052;

// Control-table slots.
enum ControlSlot : int {
  kSlotMainWindow = 0,
  kSlotMessagePanel = 1,
  kSlotMinimize = 2,
  kSlotClose = 3,
  kSlotNumberBox = 4,
  kSlotUpArrow = 5,
  kSlotDownArrow = 6,
  kSlotKeyword = 7,
  kSlotSex = 8,
  kSlotClass = 9,
  kSlotName = 10,
  kSlotBiography = 11,
  kSlotAllowedCheck = 12,
  kSlotAllowedLabel = 13,
  kSlotDir = 14,
  kSlotPatch = 15,
  kSlotDesignerHome = 16,
  kSlotProgramHome = 17,
  kSlotCopySmall = 18,
  kSlotCopyLarge = 19,
  kSlotPasteSmall = 20,
  kSlotPasteLarge = 21,
  kSlotLargeFace = 22,
  kSlotSmallFace = 23,
  kSlotSave = 24,
  kSlotWipe = 25,
  kSlotMakeSfx = 26,
  kSlotLoadSmall = 27,
  kSlotLoadLarge = 28,
  kSlotAboutPanel = 29,
  kSlotOptionPanel = 30,
  kSlotAbout = 31,
  kSlotOption = 32,
  kSlotAboutClose = 33,
  kSlotOptionClose = 34,
  kSlotAspectCheck = 35,
  kSlotAspectLabel = 36,
  kSlotXRangeCheck = 37,
  kSlotXRangeLabel = 38,
  kSlotYRangeCheck = 39,
  kSlotYRangeLabel = 40,
  kSlotXRangeBar = 41,
  kSlotYRangeBar = 42,
  kSlotResizeMethod = 43,
  // slot 44 is not used
  kSlotAutoRingCheck = 45,
  kSlotAutoRingLabel = 46,
  kSlotSmallCopyCheck = 47,
  kSlotSmallCopyLabel = 48,
};

// Which panel a "QLMKSUB" window is: its creation parameter.
enum class PanelKind : int { kAbout = 0, kOption = 1 };

constexpr int kPanelWidth = 480;
constexpr int kPanelHeight = 240;
constexpr int kMainWidth = 540;
constexpr int kMainHeight = 440;

}  // namespace qm::skin
