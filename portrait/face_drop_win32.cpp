// The window procedures of the two face views for files dropped on them.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>

#include "base/handles_win32.h"
#include "portrait/clipboard_win32.h"
#include "portrait/picture_import_win32.h"
#include "resources/string_ids.h"

namespace qm {
namespace {

FaceDropHost& Host() {
  static FaceDropHost host;
  return host;
}

// The first dropped file's path (further files of the drop are ignored); empty when none.
std::string FirstDroppedFile(HDROP drop) {
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  if (length == 0) return {};
  std::string path(length + 1, '\0');
  const UINT copied = DragQueryFileA(drop, 0, path.data(), length + 1);
  path.resize(copied <= length ? copied : 0);
  return path;
}

LRESULT DropProc(FaceKind kind, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_DROPFILES) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return previous != nullptr ? CallWindowProcA(previous, window, message, wparam, lparam)
                               : DefWindowProcA(window, message, wparam, lparam);
  }
  const DroppedFiles drop(reinterpret_cast<HDROP>(wparam));
  HandleDroppedFile(FirstDroppedFile(drop.get()).c_str(), kind);
  return 0;
}

}  // namespace

void SetFaceDropHost(FaceDropHost host) { Host() = std::move(host); }

uint32_t HandleDroppedFile(const char* path, FaceKind kind) {
  const bool large = kind == FaceKind::kLarge;
  const FaceDropHost& host = Host();
  std::optional<FaceEdit> edit;
  if (host.current_edit) edit = host.current_edit();
  NewFaces faces;
  bool taken = false;
  if (edit && path != nullptr && *path != '\0') {
    const GdiBitmap picture = LoadPictureFile(path, edit->options.auto_ring);
    taken = picture && PutPictureIntoFace(picture.get(), kind, *edit, &faces).ok();
  }
  if (taken && host.store_faces) host.store_faces(kind, std::move(faces));
  const uint32_t status = taken ? (large ? kMsgLoadedLarge : kMsgLoadedSmall)
                                : (large ? kMsgLoadLargeFailed : kMsgLoadSmallFailed);
  if (host.show_status) host.show_status(status);
  return status;
}

LRESULT CALLBACK LargeFaceDropProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DropProc(FaceKind::kLarge, window, message, wparam, lparam);
}

LRESULT CALLBACK SmallFaceDropProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DropProc(FaceKind::kSmall, window, message, wparam, lparam);
}

}  // namespace qm
