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

// Command / control ids, as (name, id): kId<name> in code, <name> in the end-to-end
// scenarios (the driver's names come from this list).
#define QM_EDITOR_CONTROLS(X) \
  X(MessagePanel, 1000)                                                 \
  X(Minimize, 1001)                                                     \
  X(Close, 1002)                                                        \
  X(NumberBox, 1003)                                                    \
  X(UpArrow, 1004) /* next record */                                    \
  X(DownArrow, 1005) /* previous record */                              \
  X(Name, 1006)                                                         \
  X(Biography, 1007)                                                    \
  X(Dir, 1008)                                                          \
  X(Patch, 1009)                                                        \
  X(DesignerHome, 1010)                                                 \
  X(ProgramHome, 1011)                                                  \
  X(CopySmall, 1012)                                                    \
  X(CopyLarge, 1013)                                                    \
  X(PasteSmall, 1014)                                                   \
  X(PasteLarge, 1015)                                                   \
  X(Save, 1016)                                                         \
  X(Wipe, 1017)                                                         \
  X(MakeSfx, 1018)                                                      \
  X(LargeFace, 1019)                                                    \
  X(SmallFace, 1020)                                                    \
  X(LoadLarge, 1021)                                                    \
  X(LoadSmall, 1022)                                                    \
  X(UpdateCheck, 1023) /* no control: the update check's own command */ \
  X(Keyword, 1026)                                                      \
  X(Sex, 1027)                                                          \
  X(Class, 1028)                                                        \
  X(AllowedCheck, 1029)                                                 \
  X(AllowedLabel, 1030)                                                 \
  X(About, 1034)                                                        \
  X(Option, 1035)                                                       \
  X(AboutClose, 1036)                                                   \
  X(OptionClose, 1037)                                                  \
  X(AspectCheck, 1038)                                                  \
  X(AspectLabel, 1039)                                                  \
  X(XRangeBar, 1040)                                                    \
  X(XRangeCheck, 1041)                                                  \
  X(XRangeLabel, 1042)                                                  \
  X(YRangeBar, 1043)                                                    \
  X(YRangeCheck, 1044)                                                  \
  X(YRangeLabel, 1045)                                                  \
  X(ResizeMethod, 1046)                                                 \
  X(AutoRingCheck, 1049)                                                \
  X(AutoRingLabel, 1050)                                                \
  X(SmallCopyCheck, 1051)                                               \
  X(SmallCopyLabel, 1052)

enum ControlId : int {
#define QM_CONTROL_ID(name, id) kId##name = id,
  QM_EDITOR_CONTROLS(QM_CONTROL_ID)
#undef QM_CONTROL_ID
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
