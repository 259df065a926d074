// DIB sections and bulk pixel moves for the picture import: the platform's stretch target, the
// 24-bit picture bitmaps that picture files become, and reading a crop of a picture bitmap.
// The canvas, the red/blue swap and bitmap sizes come from base/dib_win32.h, a canvas's
// picture (CanvasPicture) from portrait/bitmap_pixels_win32.h.
//
//   DibCanvas canvas(nullptr, 82, 82);        // 32-bit top-down, selected into its own DC
//   StretchBlt(canvas.dc(), ...);
//   Picture face = CanvasPicture(canvas);
//
//   GdiBitmap bitmap = MakePictureBitmap(picture);   // 24-bit bottom-up DIB section
//   Picture crop;
//   ReadBitmapRect(bitmap.get(), {10, 10, 100, 50}, &crop);
//
// Every move is one pass over memory or one blit; nothing goes pixel by pixel through GDI.
#pragma once

#include <windows.h>

#include "base/dib_win32.h"
#include "base/handles_win32.h"
#include "portrait/bitmap_pixels_win32.h"
#include "portrait/picture.h"

namespace qm {

// A new, uninitialised 24-bit bottom-up DIB section; *bits receives its pixel memory.
GdiBitmap CreatePictureBitmap(int width, int height, void** bits);
// A 24-bit bottom-up DIB section holding the picture. Empty on failure.
GdiBitmap MakePictureBitmap(const Picture& picture);

// The rectangle of the bitmap as a picture: read straight from the pixel memory of a 24 or
// 32-bit DIB section, else blitted through a canvas. False (out untouched) when the rectangle
// is empty or outside the bitmap, or memory cannot be had.
bool ReadBitmapRect(HBITMAP bitmap, PixelRect rect, Picture* out);

}  // namespace qm
