// What the main window shows of the editor's state: the message panel, the selected record in
// the controls and its two faces.
//
//   qm::ShowStatus("Saved Successfully.");      // or qm::ShowStatusString(kMsgSaved)
//   qm::ShowRecord(Editor().selected, true);     // texts, lists, Allowed mark, editable state
//   qm::RefreshFaces(false);                     // decode both faces, show / hide / repaint
//
// The message panel keeps its six lines in qm::Editor().status and also carries them as the
// panel control's window text (lines joined by "\r\n", trailing empty lines left out), so
// assistive tools and test drivers can read what it shows.
//
// Texts the program itself puts into the hero number box and the record's text boxes do not
// run those boxes' commands again (the record already holds them); what the user types does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "heroes/face_size.h"

namespace qm {

struct MainViewState {
  bool editable = true;  // the record's editing controls are enabled
  bool allowed = false;  // the Allowed mark of the selected record
  // Whether each face view is visible: both controls are created visible.
  bool large_shown = true;
  bool small_shown = true;
  bool filling = false;  // the program is writing into the boxes
};
MainViewState& MainView();

void ShowStatus(std::string_view text);
void ShowStatusString(uint32_t string_id);
// Puts the panel lines of qm::Editor().status on screen as they are (start-up's lines).
void PublishStatus();

bool ShowRecord(int index, bool repaint_biography);
void SetEditable(bool editable);
void SelectByLabel(HWND list, const char* label);  // null label: no selection
void SetNumberBox(int index);
void RefreshFaces(bool decode_only);

// Repaints a control of the main window (by slot), erasing first when `erase`.
void RepaintSlot(int slot, bool erase);

}  // namespace qm
