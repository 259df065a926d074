#include "portrait/clipboard_win32.h"

#include "base/handles_win32.h"
#include "portrait/bitmap_pixels_win32.h"

namespace qm {

bool CopyFace(HWND owner, HBITMAP face_view) {
  GdiBitmap copy = DuplicateBitmap(face_view, false);
  if (!copy) return false;
  ClipboardScope clipboard(owner);
  if (!clipboard.ok() || !EmptyClipboard()) return false;
  if (SetClipboardData(CF_BITMAP, copy.get()) == nullptr) return false;
  copy.release();  // the clipboard owns the copy now
  return true;
}

PasteResult PasteFace(HWND owner, FaceKind kind, const FaceEdit& edit, NewFaces* faces) {
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return PasteResult::kNoBitmap;
  ClipboardScope clipboard(owner);
  if (!clipboard.ok()) return PasteResult::kNoBitmap;
  // The bitmap stays the clipboard's.
  const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (bitmap == nullptr) return PasteResult::kNoBitmap;
  return PutPictureIntoFace(bitmap, kind, edit, faces) ? PasteResult::kPasted : PasteResult::kUnusable;
}

}  // namespace qm
