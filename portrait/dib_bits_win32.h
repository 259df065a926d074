// DIB sections and bulk pixel moves for the picture import: the platform's stretch target, the
// 24-bit picture bitmaps that picture files become, and reading a crop of a picture bitmap.
//
//   DibCanvas canvas(82, 82);                 // 32-bit top-down, selected into its own DC
//   StretchBlt(canvas.dc(), ...);
//   Picture face = canvas.ToPicture();
//
//   GdiBitmap bitmap = MakePictureBitmap(picture);   // 24-bit bottom-up DIB section
//   Picture crop;
//   ReadBitmapRect(bitmap.get(), {10, 10, 100, 50}, &crop);
//
// Every move is one pass over memory or one blit; nothing goes pixel by pixel through GDI.
#pragma once

#include <windows.h>

#include <optional>

#include "base/win32_handles.h"
#include "portrait/picture.h"

namespace qm {

class DibCanvas {
 public:
  DibCanvas(int width, int height);
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  Picture ToPicture() const;
  void Paint(const Picture& picture);  // the picture must have the canvas's size

 private:
  MemoryDc dc_;
  GdiBitmap bitmap_;
  std::optional<SelectInDc> select_;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A new, uninitialised 24-bit bottom-up DIB section; *bits receives its pixel memory.
GdiBitmap CreatePictureBitmap(int width, int height, void** bits);
// A 24-bit bottom-up DIB section holding the picture. Empty on failure.
GdiBitmap MakePictureBitmap(const Picture& picture);

// Width and height of a bitmap; false for a null or invalid handle.
bool PictureBitmapSize(HBITMAP bitmap, int* width, int* height);

// The rectangle of the bitmap as a picture: read straight from the pixel memory of a 24 or
// 32-bit DIB section, else blitted through a canvas. False (out untouched) when the rectangle
// is empty or outside the bitmap, or memory cannot be had.
bool ReadBitmapRect(HBITMAP bitmap, PixelRect rect, Picture* out);

}  // namespace qm
