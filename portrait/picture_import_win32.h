// Picture import: picture files become 24-bit bitmaps, through the open dialog with its preview
// pane, and the Load command puts them into a face.
//
//   // Command 1021 (large) / 1022 (small), after the main window's record and flag checks:
//   qm::NewFaces faces;
//   if (qm::LoadFaceFromFile(main_window, qm::FaceKind::kLarge, BeginFaceEdit, &faces)) {
//     store the faces, refresh; status kMsgLoadedLarge
//   } else { status kMsgLoadLargeFailed }
//
//   qm::GdiBitmap picture = qm::LoadPictureFile("C:\\face.gif", /*fill=*/true);
//
// LoadPictureFile reads the whole file and asks the platform's picture decoder (OleLoadPicture)
// for it; when the decoder refuses the file, the core's own loader (portrait/picture_file.h:
// JPEG, GIF, BMP, PNG) tries it. The result is a 24-bit bottom-up DIB section of the picture's
// pixel size. Pixels that the picture leaves uncovered (a GIF's transparent pixels, PNG pixels
// with alpha below 128) take `fill_colour` with `fill`, else white. No picture (an empty
// handle) for a file that cannot be opened or read, is empty, is not a picture either decoder
// takes, or would exceed kMaxPicturePixels.
//
// The open dialog ("Select Image file") lists "All Supported Files" (*.JPG;*.GIF;*.BMP;*.PNG),
// each format, and all files; it remembers the last chosen path for the run. Its extension
// template 106 (resources/open_preview.rc, which the program's resources must include) shows the
// selected picture scaled into the preview pane with its size and depth, while "Show preview"
// is ticked; that choice lasts for the run and starts ticked.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "base/handles_win32.h"
#include "portrait/face_fit_win32.h"
#include "portrait/picture.h"

namespace qm {

GdiBitmap LoadPictureFile(const char* path, bool fill, COLORREF fill_colour = kTransparentColour);

// The open dialog owned by `owner` (the program's instance supplies template 106). The chosen
// path, or nullopt when the user cancels.
std::optional<std::string> ChoosePictureFile(HWND owner);

// Load face from file: choose, then begin the edit, load with fill = options.auto_ring and fit
// into new faces of `kind`. The edit (and so the option panel's settings) is taken once a file
// is chosen: the panel stays usable while the dialog is open. False, with `faces` unchanged,
// when cancelled, when there is no edit, when the file gives no picture or when the fitting
// fails.
bool LoadFaceFromFile(HWND owner, FaceKind kind, const std::function<std::optional<FaceEdit>()>& begin_edit,
                      NewFaces* faces);

// The dialog's "Show preview" choice for this run.
bool ShowPreviewFlag();
void SetShowPreviewFlag(bool show);

// Draws the preview of `path` into `pane` (a child of `dialog`) and fills the size and depth
// lines; with `show` false or no picture it clears them (and crosses out a picture that failed
// to load). True when a picture was drawn.
bool DrawPreview(HWND dialog, HWND pane, const char* path, bool show);

}  // namespace qm
