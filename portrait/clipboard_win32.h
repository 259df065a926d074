// Faces through the clipboard and by dropping picture files on the face views.
//
//   // Command 1013 / 1012 (a record with that face): CopyFace, then status 312 / 314.
//   qm::CopyFace(main_window, qm::skin::FaceViewBitmap(qm::FaceKind::kLarge));
//   // Command 1015 / 1014 (a record with that face flag):
//   qm::NewFaces faces;
//   switch (qm::PasteFace(main_window, qm::FaceKind::kLarge, edit, &faces)) {
//     case qm::PasteResult::kPasted:   store the faces, refresh; status 316 / 319
//     case qm::PasteResult::kNoBitmap: status 317 / 320
//     case qm::PasteResult::kUnusable: status 318 / 321
//   }
//   // WM_CREATE, after the skin made the face views:
//   qm::SetFaceDropHost({...});
//   Subclass(face_view_1019, qm::LargeFaceDropProc);  // previous procedure in GWLP_USERDATA
//   Subclass(face_view_1020, qm::SmallFaceDropProc);
//
// The clipboard carries faces in the device-dependent bitmap format (CF_BITMAP) only. Copy puts
// a copy of the face view as shown (82 x 82 or 52 x 52, black corners); Paste fits the
// clipboard's bitmap into the face with the current options (portrait/face_fit_win32.h). The
// clipboard is opened and closed within each call.
//
// Drop procedures: WM_DROPFILES takes the first dropped file (others of the same drop are
// ignored); when the catalogue holds records it loads the file (fill = Use Auto-Ring), fits it
// into the face of that view and hands the new faces to the host, which stores and shows them,
// then shows status 308 / 310; an empty catalogue or a file that gives no face shows 309 / 311
// and changes nothing. The drop is
// always released. Every other message goes to the previous procedure kept in the control's
// user data.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "portrait/face_fit_win32.h"

namespace qm {

// Copy face: false when no copy of the view could be made or the clipboard could not be had;
// the clipboard is then left as it was.
bool CopyFace(HWND owner, HBITMAP face_view);

enum class PasteResult {
  kPasted,    // the clipboard's bitmap is the new face
  kNoBitmap,  // the clipboard offers no bitmap (or could not be opened)
  kUnusable,  // a bitmap was there but could not be made a face (`faces` is unchanged)
};
PasteResult PasteFace(HWND owner, FaceKind kind, const FaceEdit& edit, NewFaces* faces);

// What the drop procedures need from the main window.
struct FaceDropHost {
  // The selected record's edit, or nullopt when the catalogue holds no records.
  std::function<std::optional<FaceEdit>()> current_edit;
  // Stores the new faces of that size in the selected record and shows them.
  std::function<void(FaceKind kind, NewFaces faces)> store_faces;
  // Shows a numbered status string in the message panel.
  std::function<void(uint32_t string_id)> show_status;
};
void SetFaceDropHost(FaceDropHost host);

LRESULT CALLBACK LargeFaceDropProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK SmallFaceDropProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The drop handling itself, for a dropped file already taken from the drop: loads `path` and
// puts it into the face of `kind`. Returns the status shown (308/310 or 309/311).
uint32_t HandleDroppedFile(const char* path, FaceKind kind);

}  // namespace qm
