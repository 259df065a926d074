// The main window's command table: what each button, box and list does, and the status it
// reports in the message panel.
//
//   case WM_COMMAND: if (qm::CommandGoesOn(id, code, nonempty)) qm::RunMainCommand(hwnd, id);
//
// Commands run to their end on the calling thread. Load, Paste and drop fit a picture into new
// faces for the selected record; only faces that were made are stored in the catalogue, so a
// failed fitting leaves the record as it was.
#pragma once

#include <windows.h>

#include <optional>

#include "portrait/face_fit_win32.h"

namespace qm {

void RunMainCommand(HWND main_window, int id);

// The selected record's face edit for the drop procedures; nullopt with no record selected.
std::optional<FaceEdit> BeginFaceEdit();
// Stores new faces of that size in the selected record and shows them.
void StoreFaces(FaceKind kind, NewFaces faces);

}  // namespace qm
