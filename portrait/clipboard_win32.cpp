#include "portrait/clipboard_win32.h"

#include "base/gdi_win32.h"
#include "portrait/bitmap_pixels_win32.h"

namespace qm {
namespace {

// The clipboard, open for the length of a scope.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != 0) {}
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  bool ok() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool CopyFace(HWND owner, HBITMAP face_view) {
  GdiBitmap copy = DuplicateBitmap(face_view, false);
  if (!copy) return false;
  OpenClipboardScope clipboard(owner);
  if (!clipboard.ok() || !EmptyClipboard()) return false;
  if (SetClipboardData(CF_BITMAP, copy.get()) == nullptr) return false;
  copy.release();  // the clipboard owns the copy now
  return true;
}

PasteResult PasteFace(HWND owner, FaceKind kind, const FaceEdit& edit) {
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return PasteResult::kNoBitmap;
  OpenClipboardScope clipboard(owner);
  if (!clipboard.ok()) return PasteResult::kNoBitmap;
  // The bitmap stays the clipboard's.
  const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (bitmap == nullptr) return PasteResult::kNoBitmap;
  return PutPictureIntoFace(bitmap, kind, edit) ? PasteResult::kPasted : PasteResult::kUnusable;
}

}  // namespace qm
