// The skinned controls: the control table, the main window's controls, owner-draw of every
// control id, the combo box subclass and the two panel windows (about and option).
//
// Main window procedure:
//   WM_DRAWITEM:    qm::skin::DrawItem(hwnd, (DRAWITEMSTRUCT*)lp, {&status_lines, allowed});
//                   return 1;
//   WM_MEASUREITEM: qm::skin::MeasureItem((MEASUREITEMSTRUCT*)lp); return 1;
//   command 1034:   qm::skin::OpenPanel(hwnd, qm::skin::PanelKind::kAbout);
//   command 1035:   qm::skin::OpenPanel(hwnd, qm::skin::PanelKind::kOption);
// Start-up registers class "QLMKSUB" with qm::skin::PanelWindowProc and clears the table with
// ClearControlTable before the main window exists.
//
// The option panel's settings are qm::skin::Options() (option_state.h), which face fitting
// reads; they live for the run and are not saved.
#pragma once

#include <windows.h>

#include "shell/status_text.h"
#include "skin/control_ids.h"

namespace qm::skin {

// ---- control table --------------------------------------------------------------------------

void ClearControlTable();
HWND Control(int slot);  // null for an empty or out-of-range slot
void SetControl(int slot, HWND window);
// The slot that holds `window`, or -1 (a null window is in no slot).
int SlotOf(HWND window);

// ---- main window ----------------------------------------------------------------------------

// Creates the skin font and every control of the main window in creation order, fills the two
// combo boxes, sets the text limits and the number box, and makes the brushes. Called by
// SkinStart. False at the first control or brush that cannot be made.
bool BuildMainControls(HWND main_window, int selected_record);

// What the main window's owner-drawn items show that the shell owns.
struct MainItemState {
  const StatusLines* status_lines = nullptr;  // message panel (null: empty panel)
  bool allowed = false;                       // the Allowed display of the selected record
};

// WM_DRAWITEM for the main window and the panels. Returns 1 when it drew, 0 when it left the
// item to the system (no DC, unknown id); the window procedure returns 1 either way.
int DrawItem(HWND window, const DRAWITEMSTRUCT* item, const MainItemState& main = {});
// WM_MEASUREITEM: combo box items are 14 pixels high. Returns 1.
int MeasureItem(MEASUREITEMSTRUCT* item);

// Replaces the combo box's window procedure by the skinned one (old one kept in its user data).
bool SubclassCombo(HWND combo);

// How many pixels of an item's text the closed field of a skinned combo box `width` pixels wide
// shows (beside the drop-down button, inside the skinned frame), with `font`; measured on a
// hidden combo box made under `parent`. -1 when it cannot be made.
int ComboFieldWidth(HWND parent, int width, HFONT font);

// ---- panels ---------------------------------------------------------------------------------

// Opens the about or option panel centred on the screen, owned by the main window; when it is
// already open, gives it the focus instead. Returns the panel window (null on failure).
HWND OpenPanel(HWND main_window, PanelKind kind);

// Window procedure of class "QLMKSUB".
LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace qm::skin
