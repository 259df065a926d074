#include "portrait/face_fit.h"

#include <algorithm>
#include <utility>

#include "portrait/face_art.h"
#include "portrait/portrait_codec.h"
#include "portrait/resample.h"

namespace qm {
namespace {

struct RingHsl {
  int hue;
  int saturation;
  int lightness_offset;
};

// Indexed by alignment id.
constexpr RingHsl kRingColours[] = {
    {0, 0, 0},       // none
    {106, 255, 0},   // nature
    {204, 141, 65},  // life
    {172, 206, 91},  // order
    {189, 64, 142},  // death
    {20, 237, 59},   // chaos
    {1, 205, 42},    // might
};

// One channel of HSL to RGB for hue position t (0 .. 255 around the circle).
int HslChannel(double m1, double m2, double t) {
  if (t > 255) {
    t -= 255;
  } else if (t < 0) {
    t += 255;
  }
  double v;
  if (t < 42.5) {
    v = m1 + (m2 - m1) * t * 6 / 255;
  } else if (t < 127.5) {
    v = m2;
  } else if (t < 170) {
    v = m1 + (m2 - m1) * (170 - t) * 6 / 255;
  } else {
    v = m1;
  }
  return static_cast<int>(v * 255);
}

int Clamp255(int v) { return std::clamp(v, 0, 255); }

// Narrows [begin, end) to the range's low .. high percent of `size`; an unused or empty range
// (low equal to high) leaves it alone.
void ApplyRange(bool use, int low, int high, int size, int32_t* begin, int32_t* end) {
  if (!use || low == high) return;
  *begin = static_cast<int32_t>(int64_t{low} * size / 100);
  *end = static_cast<int32_t>(int64_t{high} * size / 100);
}

}  // namespace

FitRect FittingRectangle(const FaceOptions& options, int width, int height) {
  FitRect r{0, 0, width, height};
  ApplyRange(options.use_x_range, options.x_low, options.x_high, width, &r.left, &r.right);
  ApplyRange(options.use_y_range, options.y_low, options.y_high, height, &r.top, &r.bottom);
  const int64_t cw = int64_t{r.right} - r.left;
  const int64_t ch = int64_t{r.bottom} - r.top;
  if (options.aspect_lock) {
    if (ch < cw) {
      const int64_t d = cw - ch;
      r.left = static_cast<int32_t>(r.left + d / 2);
      r.right = static_cast<int32_t>(r.right + d / 2 - d);
    } else if (ch > cw) {
      const int64_t d = ch - cw;
      r.top = static_cast<int32_t>(r.top + d / 2);
      r.bottom = static_cast<int32_t>(r.bottom + d / 2 - d);
    }
  }
  return r;
}

uint32_t HslToRgb(int hue, int lightness, int saturation) {
  const double h = hue, l = lightness, s = saturation;
  if (saturation == 0) {
    const uint32_t grey = static_cast<uint32_t>(lightness);
    return MakeColour(grey, grey, grey);
  }
  const double m2 = lightness < 128 ? l * (255 + s) / 65025 : (l + s - l * s / 255) / 255;
  const double m1 = 2 * l / 255 - m2;
  return MakeColour(static_cast<uint32_t>(HslChannel(m1, m2, h + 85)),
                    static_cast<uint32_t>(HslChannel(m1, m2, h)),
                    static_cast<uint32_t>(HslChannel(m1, m2, h - 85)));
}

uint32_t RingColour(uint32_t overlay, uint32_t hero_class, uint32_t alignment) {
  if (overlay == kColourBlack || hero_class == kClassNone || hero_class == kClassGeneric ||
      alignment >= std::size(kRingColours)) {
    return kColourBlack;
  }
  const RingHsl& ring = kRingColours[alignment];
  const int low = std::min({RedOf(overlay), GreenOf(overlay), BlueOf(overlay)});
  const int high = std::max({RedOf(overlay), GreenOf(overlay), BlueOf(overlay)});
  const int lightness = Clamp255(static_cast<int>((low + high) * 0.5) + ring.lightness_offset);
  return HslToRgb(ring.hue, lightness, ring.saturation);
}

void RingStep(Picture* face, const Picture& overlay, uint32_t hero_class, uint32_t alignment) {
  const int width = std::min(face->width(), overlay.width());
  const int height = std::min(face->height(), overlay.height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t& pixel = face->at(x, y);
      if (pixel == kTransparentColour) pixel = RingColour(overlay.at(x, y), hero_class, alignment);
    }
  }
}

void ApplyFaceMask(Picture* face, const Picture& mask) {
  const int width = std::min(face->width(), mask.width());
  const int height = std::min(face->height(), mask.height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) face->at(x, y) &= mask.at(x, y);
  }
}

Status CoreFaceStretch(const Picture& source, PixelRect from, int method, Picture* face) {
  return StretchWithMethod(source, from, face, {0, 0, face->width(), face->height()}, method);
}

Status DeriveSmallFace(const Picture& large_face, const FaceOptions& options, std::string_view keyword, NewFace* out,
                       FaceStretch stretch) {
  NewFace small{Picture(kSmallFaceSize, kSmallFaceSize), {}};
  const FitRect crop = FittingRectangle(options, large_face.width(), large_face.height());
  if (Status s = stretch(large_face, crop.AsPixelRect(), options.resize_method, &small.face); !s) return s;
  ApplyFaceMask(&small.face, MakeFaceMask(kSmallFaceSize));
  if (Status s = EncodePortrait(small.face, keyword, &small.image); !s) return s;
  *out = std::move(small);
  return Status::Ok();
}

Status FinishFaces(Picture stretched, FaceKind kind, const FaceOptions& options, const FaceHero& hero,
                   FaceStretch stretch, NewFaces* out) {
  const int size = FaceSize(kind);
  if (stretched.width() != size || stretched.height() != size) return Status::Fail("the face has the wrong size");
  NewFaces faces;
  faces.face.face = std::move(stretched);
  if (options.auto_ring) RingStep(&faces.face.face, MakeRingOverlay(size), hero.hero_class, hero.alignment);
  ApplyFaceMask(&faces.face.face, MakeFaceMask(size));
  if (Status s = EncodePortrait(faces.face.face, hero.keyword, &faces.face.image); !s) return s;
  if (options.small_face_copy && kind == FaceKind::kLarge) {
    NewFace small;
    if (Status s = DeriveSmallFace(faces.face.face, options, hero.keyword, &small, stretch); !s) return s;
    faces.small = std::move(small);
  }
  *out = std::move(faces);
  return Status::Ok();
}

Status PutPictureIntoFace(const Picture& picture, FaceKind kind, const FaceOptions& options, const FaceHero& hero,
                          NewFaces* out) {
  const int size = FaceSize(kind);
  Picture face(size, size);
  const FitRect crop = FittingRectangle(options, picture.width(), picture.height());
  if (Status s = CoreFaceStretch(picture, crop.AsPixelRect(), options.resize_method, &face); !s) return s;
  return FinishFaces(std::move(face), kind, options, hero, CoreFaceStretch, out);
}

}  // namespace qm
