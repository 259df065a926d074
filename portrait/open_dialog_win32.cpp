// The open-picture dialog with its preview extension (template 106).
#include <windows.h>
#include <commdlg.h>

#include <cstdio>

#include "portrait/dib_bits_win32.h"
#include "portrait/picture_import_win32.h"
#include "portrait/preview_layout.h"
#include "resources/open_preview_ids.h"

namespace qm {
namespace {

constexpr size_t kDialogPathBytes = 260;     // the dialog's file name, kept for the run
constexpr size_t kPreviewPathChars = 255;    // the path the preview shows

constexpr char kFilter[] =
    "All Supported Files\0*.JPG;*.GIF;*.BMP;*.PNG\0"
    "JPEG - JFIF Compliant (*.jpg)\0*.JPG\0"
    "CompuServe Graphics Interchange (*.gif)\0*.GIF\0"
    "Windows Bitmap (*.bmp)\0*.BMP\0"
    "Portable Network Graphics (*.png)\0*.PNG\0"
    "All Files(*. *)\0*.*\0";

char g_dialog_path[kDialogPathBytes];
char g_preview_path[kPreviewPathChars + 1];
bool g_show_preview = true;  // the dialog's "Show preview" box: on at start, kept for the run

void ClearInfoLines(HWND dialog) {
  SetDlgItemTextA(dialog, QM_IDC_PREVIEW_SIZE, "");
  SetDlgItemTextA(dialog, QM_IDC_PREVIEW_DEPTH, "");
}

// Asks the dialog for a text (CDM_GETSPEC, CDM_GETFILEPATH) into the preview path; false, with
// the path emptied, when there is none or it does not fit.
bool AskDialog(HWND dialog, UINT message) {
  const LRESULT length = SendMessageA(GetParent(dialog), message, kPreviewPathChars,
                                      reinterpret_cast<LPARAM>(g_preview_path));
  if (length <= 1 || length > static_cast<LRESULT>(kPreviewPathChars)) {
    g_preview_path[0] = '\0';
    return false;
  }
  g_preview_path[kPreviewPathChars] = '\0';
  return true;
}

void RedrawPreview(HWND dialog) {
  DrawPreview(dialog, GetDlgItem(dialog, QM_IDC_PREVIEW_PANE), g_preview_path, ShowPreviewFlag());
}

UINT_PTR CALLBACK PreviewHook(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageA(dialog, QM_IDC_PREVIEW_CHECK, BM_SETCHECK,
                          ShowPreviewFlag() ? BST_CHECKED : BST_UNCHECKED, 0);
      return 1;
    case WM_COMMAND:
      if (LOWORD(wparam) == QM_IDC_PREVIEW_CHECK && HIWORD(wparam) == BN_CLICKED) {
        SetShowPreviewFlag(
            (SendDlgItemMessageA(dialog, QM_IDC_PREVIEW_CHECK, BM_GETCHECK, 0, 0) & 1) != 0);
        RedrawPreview(dialog);
      }
      return 0;
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lparam);
      if (notify == nullptr) return 0;
      if (notify->hdr.code == CDN_SELCHANGE) {
        if (AskDialog(dialog, CDM_GETSPEC) && AskDialog(dialog, CDM_GETFILEPATH)) {
          RedrawPreview(dialog);
        }
      } else if (notify->hdr.code == CDN_FOLDERCHANGE) {
        RedrawPreview(dialog);
      }
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace

bool ShowPreviewFlag() { return g_show_preview; }
void SetShowPreviewFlag(bool show) { g_show_preview = show; }

std::optional<std::string> ChoosePictureFile(HWND owner) {
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleA(nullptr);
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = g_dialog_path;
  dialog.nMaxFile = sizeof g_dialog_path;
  dialog.lpstrTitle = "Select Image file";
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLEHOOK |
                 OFN_ENABLETEMPLATE;
  dialog.lpfnHook = PreviewHook;
  dialog.lpTemplateName = MAKEINTRESOURCEA(QM_DLG_OPEN_PREVIEW);
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  g_dialog_path[sizeof g_dialog_path - 1] = '\0';
  return std::string(g_dialog_path);
}

bool DrawPreview(HWND dialog, HWND pane, const char* path, bool show) {
  RECT inner{};
  if (pane != nullptr && GetClientRect(pane, &inner)) {
    InflateRect(&inner, -1, -1);  // the black frame stays
    WindowDc dc(pane);
    if (dc) {
      FillRect(dc.get(), &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      if (show && path != nullptr && *path != '\0') {
        const GdiBitmap picture = LoadPictureFile(path, false);
        int w = 0, h = 0;
        BITMAP info{};
        if (picture && BitmapSize(picture.get(), &w, &h) &&
            GetObjectA(picture.get(), sizeof info, &info) == sizeof info) {
          const PixelRect place = PreviewPlacement(
              w, h, {inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top});
          MemoryDc source(dc.get());
          SelectInDc keep(source.get(), picture.get());
          if (GetStretchBltMode(dc.get()) != HALFTONE) {
            SetStretchBltMode(dc.get(), HALFTONE);
            SetBrushOrgEx(dc.get(), 0, 0, nullptr);
          }
          if (keep.ok()) {
            StretchBlt(dc.get(), place.x, place.y, place.width, place.height, source.get(), 0, 0,
                       w, h, SRCCOPY);
          }
          char line[64];
          std::snprintf(line, sizeof line, "Width: %-9d Height: %d", w, h);
          SetDlgItemTextA(dialog, QM_IDC_PREVIEW_SIZE, line);
          std::snprintf(line, sizeof line, "%d BPP", info.bmBitsPixel * info.bmPlanes);
          SetDlgItemTextA(dialog, QM_IDC_PREVIEW_DEPTH, line);
          return true;
        }
        // No picture: cross out the pane.
        MoveToEx(dc.get(), inner.left, inner.top, nullptr);
        LineTo(dc.get(), inner.right, inner.bottom);
        MoveToEx(dc.get(), inner.right, inner.top, nullptr);
        LineTo(dc.get(), inner.left, inner.bottom);
      }
    }
  }
  ClearInfoLines(dialog);
  return false;
}

}  // namespace qm
