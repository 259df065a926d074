// The files the artwork becomes: their names under the resources folder and their bytes.
//
//   for (const OutputFile& f : EncodeSkinFiles(DrawSkinImages())) write f.bytes to resources/ + f.path
//
// Skin bitmaps (named after their resource ids in the editor's resource script):
//   skin/backdrop_main.bmp      102  540 x 440, 256 colours, key colour magenta
//   skin/button_sheet.bmp       103  48 x 82, 256 colours
//   skin/face_large.bmp         104  82 x 82, 24-bit
//   skin/face_small.bmp         105  52 x 52, 24-bit
//   skin/mask_small.bmp         214  52 x 52, 1-bit
//   skin/mask_large.bmp         215  82 x 82, 1-bit
//   skin/backdrop_panel.bmp     216  480 x 240, 256 colours
//   skin/overlay_large.bmp      218  82 x 82, 256 greys
//   skin/overlay_small.bmp      219  52 x 52, 256 greys
// and the icons quillmark.ico, qlmksfx.ico and restore.ico (16, 32 and 48 pixels each) and
// patcher_background.bmp (480 x 240, 256 colours).
// The masks and overlays come from the portrait code's face art, so the skin and the face
// fitting use the very same images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "portrait/picture.h"
#include "tools/skinart/bitmap_files.h"

namespace qm::skinart {

// Every image in its final form: 256-colour images already reduced to their palettes.
struct SkinImages {
  IndexedImage main_backdrop;
  IndexedImage button_sheet;
  IndexedImage panel_backdrop;
  IndexedImage patcher_background;
  Picture face_large;
  Picture face_small;
  Picture mask_large;
  Picture mask_small;
  Picture overlay_large;
  Picture overlay_small;
  std::vector<IconImage> icon;          // the editor's
  std::vector<IconImage> patcher_icon;
  std::vector<IconImage> restore_icon;
};

SkinImages DrawSkinImages();

struct OutputFile {
  std::string path;  // relative to the resources folder, with forward slashes
  std::vector<uint8_t> bytes;
};

std::vector<OutputFile> EncodeSkinFiles(const SkinImages& images);

}  // namespace qm::skinart
