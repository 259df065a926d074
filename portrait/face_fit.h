// Face fitting: turn a picture of any size into a hero's face. Crop by the option panel's
// ranges and aspect lock, stretch into the face with the current resize method, paint the
// ring of the hero's alignment into the transparent areas (Auto-Ring), blacken the corners with
// the mask, and encode the result as a portrait image.
//
//   FaceOptions options;                                   // the option panel's start values
//   NewFaces faces;
//   Status s = PutPictureIntoFace(picture, FaceKind::kLarge, options,
//                                 {"Keyword", hero_class, AlignmentOfClass(hero_class)}, &faces);
//   // faces.face.image is the new large face; with Auto S.Face Copy, faces.small holds the
//   // small face derived from it. The caller stores them in the record (Replace face).
//
// The editor stretches with the platform for two methods (portrait/face_fit_win32.h): it hands
// the stretched face to FinishFaces, with its own FaceStretch for the derived small face, so
// every step after the stretch is this file's on every platform.
//
// Ranges are percentages of the picture's width and height (0 .. 100); a range whose low and
// high are equal is no range. The aspect lock crops the remaining area to a centred square
// (an odd surplus drops its extra pixel on the right or at the bottom).
//
// Ring colours by alignment (hue, saturation, lightness offset on a 0 .. 255 scale): none
// (0, 0, 0), nature (106, 255, 0), life (204, 141, 65), order (172, 206, 91), death (189, 64, 142),
// chaos (20, 237, 59), might (1, 205, 42). The overlay's grey sets the lightness: the mean of
// its smallest and largest component plus the offset, clamped to 0 .. 255. Heroes of class 0
// or 1 (generic) get no ring: their transparent areas turn black.
//
// PutPictureIntoFace, FinishFaces and DeriveSmallFace fail (and produce nothing, so the record
// keeps its old face) when the stretch or the encoding fails: a crop of zero width or height, a
// crop outside the picture (ranges beyond 0 .. 100 or low above high), an unknown method.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "heroes/face_size.h"
#include "heroes/value_tables.h"
#include "portrait/picture.h"

namespace qm {

// The option panel's face settings, with the values the editor starts with.
struct FaceOptions {
  bool aspect_lock = false;  // "Lock original image aspect ratio"
  bool use_x_range = false;
  int x_low = 0, x_high = 0;
  bool use_y_range = false;
  int y_low = 0, y_high = 0;
  bool auto_ring = false;       // "Use Auto-Ring"
  bool small_face_copy = true;  // "Auto S.Face Copy"
  int resize_method = kResizeBilinear;
};

// Crop of a picture in picture pixels; the stretch source is (left, top) with width
// right - left and height bottom - top.
struct FitRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  PixelRect AsPixelRect() const { return {left, top, right - left, bottom - top}; }
};

FitRect FittingRectangle(const FaceOptions& options, int width, int height);

// HSL (each 0 .. 255) to a colour value, in double precision; channels truncate toward zero.
uint32_t HslToRgb(int hue, int lightness, int saturation);

// The ring's colour for an overlay pixel. `alignment` is the class-to-alignment map's answer
// for `hero_class`. Black overlay pixels, classes 0 and 1 and unknown alignments give black.
uint32_t RingColour(uint32_t overlay, uint32_t hero_class, uint32_t alignment);

// Replaces every pixel that is exactly the transparent colour by the ring colour of the
// overlay pixel at the same place (overlay: MakeRingOverlay of the face's size).
void RingStep(Picture* face, const Picture& overlay, uint32_t hero_class, uint32_t alignment);

// ANDs every face pixel with the mask pixel at the same place (MakeFaceMask of its size).
void ApplyFaceMask(Picture* face, const Picture& mask);

struct FaceHero {
  std::string keyword;  // written into the portrait image
  uint32_t hero_class = 0;
  uint32_t alignment = 0;  // AlignmentOfClass(hero_class)
};

struct NewFace {
  Picture face;                // the face as painted (ring and mask applied)
  std::vector<uint8_t> image;  // its portrait image
};

struct NewFaces {
  NewFace face;                 // of the size kind asked for
  std::optional<NewFace> small; // derived from a new large face under Auto S.Face Copy
};

// Stretches the crop `from` of `source` over the whole of `face` (already of the face's size)
// with a resize method. CoreFaceStretch is the core's resampling.
using FaceStretch = Status (*)(const Picture& source, PixelRect from, int method, Picture* face);
Status CoreFaceStretch(const Picture& source, PixelRect from, int method, Picture* face);

Status PutPictureIntoFace(const Picture& picture, FaceKind kind, const FaceOptions& options,
                          const FaceHero& hero, NewFaces* out);

// The steps after the stretch: `stretched` is the picture's crop already stretched to the face
// of `kind`. Rings it (Use Auto-Ring), masks and encodes it, and for a large face under Auto
// S.Face Copy derives the small face from it with `stretch`.
Status FinishFaces(Picture stretched, FaceKind kind, const FaceOptions& options, const FaceHero& hero,
                   FaceStretch stretch, NewFaces* out);

// The small face made from a large face as shown: cropped by the ranges once more, stretched
// to 52 x 52, masked and encoded. There is no ring step: the large face's ring scales with it.
Status DeriveSmallFace(const Picture& large_face, const FaceOptions& options, std::string_view keyword, NewFace* out,
                       FaceStretch stretch = CoreFaceStretch);

}  // namespace qm
