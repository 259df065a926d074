// The main window's command table: what each button, box and list does, and the status it
// reports in the message panel.
//
//   case WM_COMMAND: if (qm::CommandGoesOn(id, code, nonempty)) qm::RunMainCommand(hwnd, id);
//
// Commands run to their end on the calling thread. Faces are fitted into a copy of the selected
// record and handed back to the catalogue (Replace face) once the fitting succeeded, so a
// failed Load, Paste or drop leaves the record as it was.
#pragma once

#include <windows.h>

#include <optional>

#include "portrait/face_fit_win32.h"

namespace qm {

void RunMainCommand(HWND main_window, int id);

// The selected record's face edit for the drop procedures; nullopt with no record selected.
std::optional<FaceEdit> BeginFaceEdit();
// Hands the edit's faces back to the catalogue's selected record.
void CommitFaceEdit();

}  // namespace qm
