// Moving pixels between GDI and picture buffers in bulk: one blit or one GetDIBits/SetDIBits
// per call, never GetPixel/SetPixel per pixel. The skin, the patcher's window and the editor's
// face views all go through it; the canvas, the red/blue swap and bitmap sizes come from
// base/dib_win32.h.
//
//   Picture face(82, 82);  ...paint it...
//   qm::WriteBitmapPixels(qm::skin::FaceViewBitmap(FaceKind::kLarge), face);
//   Picture area;
//   qm::ReadDcPixels(dc, 10, 25, 461, 1, &area);   // a row of what `dc` shows
//   GdiBitmap copy = qm::DuplicateBitmap(face_view, false);
//
// Pictures hold colour values (red in the low byte); the top byte is always 0. Reading a
// monochrome bitmap gives black and white.
#pragma once

#include <windows.h>

#include "base/dib_win32.h"
#include "base/handles_win32.h"
#include "portrait/picture.h"

namespace qm {

// What the canvas holds, as a picture of its size (flushes GDI first).
Picture CanvasPicture(const DibCanvas& canvas);

// Reads the area (left, top, width, height) of what `dc` shows (its selected bitmap for a
// memory DC). False (and `out` untouched) when no buffer can be made or the size is not
// positive.
bool ReadDcPixels(HDC dc, int left, int top, int width, int height, Picture* out);
// Writes `pixels` to `dc` with its top-left corner at (left, top).
bool WriteDcPixels(HDC dc, int left, int top, const Picture& pixels);

// The whole bitmap as a picture (GetDIBits). The bitmap must not be selected into a DC.
bool ReadBitmapPixels(HBITMAP bitmap, Picture* out);
// Replaces the bitmap's pixels (SetDIBits); the picture must have the bitmap's size. The
// bitmap must not be selected into a DC.
bool WriteBitmapPixels(HBITMAP bitmap, const Picture& pixels);

// A new bitmap of the same width, height, planes and bits per pixel; with `blank` its
// contents are undefined, else the source's pixels are copied. Empty on failure.
GdiBitmap DuplicateBitmap(HBITMAP source, bool blank);

}  // namespace qm
