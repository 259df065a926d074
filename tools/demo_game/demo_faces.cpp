#include "tools/demo_game/demo_faces.h"

#include <iterator>

#include "heroes/hero_record.h"
#include "heroes/value_tables.h"
#include "portrait/face_art.h"
#include "portrait/face_fit.h"
#include "tools/demo_game/demo_canvas.h"

namespace qm::demo {

namespace {

// Layout in scene units: the scene lives in the disc of radius 0.378 around the centre and is
// drawn magnified, so that it fills the face up to a thin ring at the rim.
constexpr double kSceneZoom = 1.2;
// The ring keeps to the outer part of the overlay's band (radius 0.45 of the side and beyond).
constexpr int kRingFromRadiusPercent = 45;
constexpr double kHeadX = 0.5, kHeadY = 0.45, kHeadRx = 0.115, kHeadRy = 0.145;
constexpr double kEyeY = 0.445, kEyeDx = 0.047;

constexpr unsigned kSkins[] = {0xF1C9A5, 0xE0AC86, 0xC68642, 0x8D5524, 0xF5D6C6, 0xD9A27A};
constexpr unsigned kHairs[] = {0x2B1B10, 0x5A3A1E, 0xB5652B, 0xE3C16F, 0x1A1A1A, 0xC9C3BA, 0x8E2F1C, 0x6B4E2E};
constexpr unsigned kEyes[] = {0x3B6EA8, 0x4E7A3A, 0x5B3A1E, 0x6F6F7A, 0x8A5A2B};
constexpr unsigned kTints[] = {0xFFFFFF, 0x000000, 0x8040C0, 0xC08040, 0x4080C0, 0xC04040, 0x40A060};

struct ClassLook {
  unsigned clothing;
  unsigned accent;
};

ClassLook LookOfClass(uint8_t hero_class) {
  switch (hero_class) {
    case kClassArcher: return {0x3F7A3A, 0x8B5A2B};
    case kClassBarbarian: return {0x8A4B2A, 0xB8B8B8};
    case kClassKnight: return {0x9AA4B0, 0x2F4FA0};
    case kClassPriest: return {0xF2EEE0, 0xD4AF37};
    case kClassDruid: return {0x5B7F2E, 0x7A5230};
    case kClassMage: return {0x2F3F9A, 0xD9C25A};
    case kClassLord: return {0x7A1E3A, 0xD4AF37};
    case kClassNecromancer: return {0x2A2A33, 0x7FBF5A};
    case kClassSorcerer: return {0x6A2A8A, 0xFF8A2A};
    case kClassThief: return {0x3A3A3A, 0x9A2A2A};
    case kClassDeathKnight: return {0x3A3F48, 0xC02020};
    default: return {0x808080, 0xC0C0C0};
  }
}

struct Backdrop {
  unsigned top, bottom;
};

Backdrop BackdropOf(uint8_t alignment) {
  switch (alignment) {
    case kAlignmentNature: return {0x9ED28C, 0x2F6A2A};
    case kAlignmentLife: return {0xF7EBC0, 0xC9A24A};
    case kAlignmentOrder: return {0xA9C8F0, 0x2A4A8A};
    case kAlignmentDeath: return {0x8A8A9A, 0x2A2A38};
    case kAlignmentChaos: return {0xF5A25A, 0x8A1A1A};
    case kAlignmentMight: return {0xE0C090, 0x8A5A2A};
    default: return {0xB0B0B0, 0x404040};
  }
}

// Picks from the look seed, a few bits at a time.
class LookBits {
 public:
  explicit LookBits(uint32_t seed) : bits_(seed) {}
  unsigned Next(unsigned n) {
    const unsigned v = bits_ % n;
    bits_ = bits_ / n + (bits_ % 7) * 0x01000193u;
    return v;
  }

 private:
  uint32_t bits_;
};

struct Features {
  Rgb skin, hair, eyes, clothing, accent, lips;
  bool female = false;
  bool beard = false;
  bool long_hair = false;
  bool scarf = false;
};

Features FeaturesOf(const DemoHero& hero) {
  LookBits bits(hero.look);
  Features f;
  f.skin = Rgb::Hex(kSkins[bits.Next(static_cast<unsigned>(std::size(kSkins)))]);
  f.hair = Rgb::Hex(kHairs[bits.Next(static_cast<unsigned>(std::size(kHairs)))]);
  f.eyes = Rgb::Hex(kEyes[bits.Next(static_cast<unsigned>(std::size(kEyes)))]);
  const ClassLook look = LookOfClass(hero.hero_class);
  const Rgb tint = Rgb::Hex(kTints[bits.Next(static_cast<unsigned>(std::size(kTints)))]);
  f.clothing = Rgb::Hex(look.clothing).MixedWith(tint, 0.22);
  f.accent = Rgb::Hex(look.accent);
  f.female = hero.sex == kSexFemale;
  f.long_hair = f.female || bits.Next(4) == 0;
  f.beard = !f.female && bits.Next(3) != 0;
  f.scarf = bits.Next(2) == 0;
  f.lips = f.female ? Rgb::Hex(0xB03A48) : f.skin.Scaled(0.62);
  if (hero.hero_class == kClassNecromancer) f.skin = f.skin.MixedWith(Rgb::Hex(0xB8C8B0), 0.6);
  return f;
}

void Star(DemoCanvas& c, double cx, double cy, double r, Rgb colour) {
  // A five-pointed star, inner radius 0.382 of the outer.
  static constexpr Point kUnit[] = {{0, -1},           {0.224534, -0.309045}, {0.951057, -0.309017},
                                    {0.363304, 0.118044}, {0.587785, 0.809017},  {0, 0.382},
                                    {-0.587785, 0.809017}, {-0.363304, 0.118044}, {-0.951057, -0.309017},
                                    {-0.224534, -0.309045}};
  std::vector<Point> pts;
  for (const Point& p : kUnit) pts.push_back({cx + p.x * r, cy + p.y * r});
  c.Polygon(pts, colour, colour);
}

void Skull(DemoCanvas& c, double cx, double cy, double r, Rgb bone, Rgb hollow) {
  c.Ellipse({cx, cy, r, r * 0.95}, bone, DemoCanvas::kLit);
  c.Rect(cx - r * 0.55, cy + r * 0.5, cx + r * 0.55, cy + r * 1.15, bone);
  c.Ellipse({cx - r * 0.4, cy + r * 0.1, r * 0.26, r * 0.3}, hollow);
  c.Ellipse({cx + r * 0.4, cy + r * 0.1, r * 0.26, r * 0.3}, hollow);
  c.Polygon({{cx, cy + r * 0.45}, {cx - r * 0.12, cy + r * 0.68}, {cx + r * 0.12, cy + r * 0.68}}, hollow);
  for (int i = -2; i <= 2; ++i) {
    const double x = cx + i * r * 0.2;
    c.Segment({x, cy + r * 0.85}, {x, cy + r * 1.12}, r * 0.03, hollow);
  }
}

void Emblem(DemoCanvas& c, uint8_t hero_class, Rgb accent) {
  const double x = 0.5, y = 0.79, r = 0.05;
  const Rgb dark = accent.Scaled(0.45);
  switch (hero_class) {
    case kClassArcher:  // arrow
      c.Segment({x - r, y + r}, {x + r * 0.6, y - r * 0.6}, r * 0.12, Rgb::Hex(0x8B5A2B));
      c.Polygon({{x + r, y - r}, {x + r * 0.25, y - r * 0.75}, {x + r * 0.75, y - r * 0.25}}, Rgb::Hex(0xC8C8C8));
      c.Segment({x - r, y + r}, {x - r * 0.7, y + r * 0.45}, r * 0.1, Rgb::Hex(0xE8E8E8));
      break;
    case kClassBarbarian:  // axe
      c.Segment({x - r * 0.2, y - r}, {x - r * 0.2, y + r}, r * 0.12, Rgb::Hex(0x6A4020));
      c.Ellipse({x - r * 0.1, y - r * 0.45, r * 0.7, r * 0.55}, accent, DemoCanvas::kLit, 0, -1, 2);
      break;
    case kClassKnight:
    case kClassPriest:  // cross
      c.Rect(x - r * 0.18, y - r, x + r * 0.18, y + r, accent);
      c.Rect(x - r * 0.65, y - r * 0.5, x + r * 0.65, y - r * 0.15, accent);
      break;
    case kClassDruid:  // leaf
      c.Polygon({{x, y - r * 1.1}, {x + r * 0.6, y}, {x, y + r * 1.1}, {x - r * 0.6, y}}, Rgb::Hex(0x9ACD4A),
                Rgb::Hex(0x4E7A1E));
      c.Segment({x, y - r * 0.9}, {x, y + r * 1.1}, r * 0.07, Rgb::Hex(0x3A5A14));
      break;
    case kClassMage:
    case kClassSorcerer:
      if (hero_class == kClassMage) {
        Star(c, x, y, r * 1.1, accent);
      } else {  // flame
        c.Polygon({{x, y - r * 1.2}, {x + r * 0.7, y + r * 0.2}, {x + r * 0.5, y + r * 0.9}, {x, y + r},
                   {x - r * 0.5, y + r * 0.9}, {x - r * 0.7, y + r * 0.2}},
                  Rgb::Hex(0xFFE060), accent);
      }
      break;
    case kClassLord:  // crown
      c.Polygon({{x - r, y + r * 0.6}, {x - r, y - r * 0.6}, {x - r * 0.5, y}, {x, y - r * 0.8}, {x + r * 0.5, y},
                 {x + r, y - r * 0.6}, {x + r, y + r * 0.6}},
                accent);
      break;
    case kClassNecromancer:
      Skull(c, x, y - r * 0.2, r * 0.75, Rgb::Hex(0xE8E4D0), Rgb::Hex(0x202020));
      break;
    case kClassThief:  // dagger
      c.Polygon({{x, y - r * 1.2}, {x + r * 0.22, y + r * 0.3}, {x - r * 0.22, y + r * 0.3}}, Rgb::Hex(0xD8D8E0));
      c.Rect(x - r * 0.55, y + r * 0.3, x + r * 0.55, y + r * 0.45, dark);
      c.Rect(x - r * 0.12, y + r * 0.45, x + r * 0.12, y + r * 1.0, Rgb::Hex(0x5A3A1E));
      break;
    case kClassDeathKnight:  // sword, point down
      c.Polygon({{x, y + r * 1.2}, {x + r * 0.2, y - r * 0.4}, {x - r * 0.2, y - r * 0.4}}, Rgb::Hex(0xA0A8B8));
      c.Rect(x - r * 0.6, y - r * 0.55, x + r * 0.6, y - r * 0.4, accent);
      c.Rect(x - r * 0.1, y - r * 1.1, x + r * 0.1, y - r * 0.55, Rgb::Hex(0x303030));
      break;
    default:
      break;
  }
}

// Clothing and shoulders; some classes add armour or trim.
void Body(DemoCanvas& c, const DemoHero& hero, const Features& f) {
  const Oval shoulders{0.5, 0.97, 0.33, 0.31};
  c.Rect(0.455, 0.55, 0.545, 0.7, f.skin.Scaled(0.82));  // neck
  switch (hero.hero_class) {
    case kClassKnight:
      c.Ellipse(shoulders, Rgb::Hex(0xB8C0CC), DemoCanvas::kLit);
      c.Polygon({{0.38, 0.7}, {0.62, 0.7}, {0.6, 1.0}, {0.4, 1.0}}, f.accent.MixedWith(f.clothing, 0.25));
      break;
    case kClassDeathKnight:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Ellipse({0.29, 0.72, 0.1, 0.07}, f.clothing.Scaled(1.25), DemoCanvas::kLit);
      c.Ellipse({0.71, 0.72, 0.1, 0.07}, f.clothing.Scaled(1.25), DemoCanvas::kLit);
      break;
    case kClassBarbarian:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Ellipse({0.3, 0.72, 0.11, 0.06}, Rgb::Hex(0x9A7A5A), DemoCanvas::kLit);  // fur
      c.Ellipse({0.7, 0.72, 0.11, 0.06}, Rgb::Hex(0x9A7A5A), DemoCanvas::kLit);
      break;
    case kClassPriest:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Segment({0.43, 0.68}, {0.41, 0.98}, 0.018, f.accent);  // stole
      c.Segment({0.57, 0.68}, {0.59, 0.98}, 0.018, f.accent);
      break;
    case kClassLord:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Ellipse({0.5, 0.69, 0.16, 0.045}, Rgb::Hex(0xF4F0E8), DemoCanvas::kLit);  // ermine collar
      for (int i = -2; i <= 2; ++i) c.Ellipse({0.5 + i * 0.055, 0.69, 0.007, 0.01}, Rgb::Hex(0x101010));
      break;
    case kClassNecromancer:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Ellipse(shoulders, f.accent.Scaled(0.7), DemoCanvas::kFlat, 0.94, 0.66, 2);  // trim
      break;
    case kClassArcher:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Segment({0.33, 0.7}, {0.66, 0.95}, 0.014, Rgb::Hex(0x6A4020));  // quiver strap
      break;
    default:
      c.Ellipse(shoulders, f.clothing, DemoCanvas::kLit);
      c.Polygon({{0.44, 0.68}, {0.56, 0.68}, {0.5, 0.76}}, f.skin.Scaled(0.8));  // open collar
      break;
  }
  Emblem(c, hero.hero_class, f.accent);
}

// What goes behind the head: long hair, hoods, halo.
void BehindHead(DemoCanvas& c, const DemoHero& hero, const Features& f) {
  switch (hero.hero_class) {
    case kClassPriest:
      c.Ellipse({0.5, 0.29, 0.15, 0.045}, f.accent, DemoCanvas::kFlat, 0.7);
      break;
    case kClassArcher:
      c.Ellipse({kHeadX, kHeadY + 0.01, 0.165, 0.2}, f.clothing.Scaled(0.85), DemoCanvas::kLit);
      break;
    case kClassNecromancer:
      c.Ellipse({kHeadX, kHeadY, 0.17, 0.215}, f.clothing.Scaled(1.3), DemoCanvas::kLit);
      break;
    default:
      break;
  }
  if (f.long_hair && hero.hero_class != kClassDeathKnight && hero.hero_class != kClassNecromancer) {
    c.Ellipse({kHeadX, kHeadY + 0.07, 0.15, 0.2}, f.hair, DemoCanvas::kLit, 0, -1, 0.68);
  }
}

void Face(DemoCanvas& c, const DemoHero& hero, const Features& f) {
  c.Ellipse({kHeadX - kHeadRx, kHeadY + 0.015, 0.02, 0.035}, f.skin.Scaled(0.9), DemoCanvas::kLit);  // ears
  c.Ellipse({kHeadX + kHeadRx, kHeadY + 0.015, 0.02, 0.035}, f.skin.Scaled(0.9), DemoCanvas::kLit);
  c.Ellipse({kHeadX, kHeadY, kHeadRx, kHeadRy}, f.skin, DemoCanvas::kLit);
  // Hair on top of the head.
  c.Ellipse({kHeadX, kHeadY - 0.05, kHeadRx + 0.01, 0.11}, f.hair, DemoCanvas::kLit, 0, -1, kHeadY - 0.045);
  if (f.beard) {
    c.Ellipse({kHeadX, kHeadY + 0.075, kHeadRx, 0.095}, f.hair, DemoCanvas::kLit, 0, kHeadY + 0.06, 2);
  }
  if (f.female) {
    c.Ellipse({kHeadX - kHeadRx - 0.005, kHeadY + 0.06, 0.008, 0.008}, Rgb::Hex(0xE8C040));  // earrings
    c.Ellipse({kHeadX + kHeadRx + 0.005, kHeadY + 0.06, 0.008, 0.008}, Rgb::Hex(0xE8C040));
  }
  // Eyes, brows, nose and mouth.
  const bool glowing = hero.hero_class == kClassNecromancer || hero.hero_class == kClassSorcerer;
  for (double side : {-1.0, 1.0}) {
    const double ex = kHeadX + side * kEyeDx;
    c.Ellipse({ex, kEyeY, 0.023, 0.014}, Rgb::Hex(0xF4F4F0));
    c.Ellipse({ex, kEyeY, 0.011, 0.012}, glowing ? f.accent : f.eyes);
    c.Ellipse({ex, kEyeY, 0.005, 0.006}, Rgb::Hex(0x101010));
    c.Segment({ex - 0.022, kEyeY - 0.03 + (f.female ? 0.004 : 0)}, {ex + 0.022, kEyeY - 0.034},
              f.female ? 0.005 : 0.008, f.hair.Scaled(0.8));
  }
  c.Ellipse({kHeadX, kHeadY + 0.05, 0.014, 0.024}, f.skin.Scaled(0.78), DemoCanvas::kLit);
  c.Segment({kHeadX - 0.026, kHeadY + 0.095}, {kHeadX + 0.026, kHeadY + 0.095}, f.female ? 0.008 : 0.006, f.lips);
}

// Headgear and other things in front of the face.
void Headgear(DemoCanvas& c, const DemoHero& hero, const Features& f) {
  const double top = kHeadY - kHeadRy;
  switch (hero.hero_class) {
    case kClassArcher:
      c.Ellipse({kHeadX, kHeadY - 0.05, 0.15, 0.12}, f.clothing.Scaled(0.85), DemoCanvas::kLit, 0, -1, top + 0.045);
      c.Segment({0.6, top + 0.02}, {0.7, top - 0.06}, 0.012, Rgb::Hex(0xC83030));  // feather
      break;
    case kClassBarbarian:
      if (f.female) {
        c.Rect(kHeadX - kHeadRx, top + 0.04, kHeadX + kHeadRx, top + 0.06, f.accent.Scaled(0.6));  // headband
      } else {
        c.Ellipse({kHeadX, kHeadY - 0.04, 0.125, 0.12}, f.accent, DemoCanvas::kLit, 0, -1, top + 0.06);
        c.Polygon({{0.39, 0.37}, {0.34, 0.36}, {0.28, 0.25}, {0.36, 0.31}, {0.41, 0.34}}, Rgb::Hex(0xF0E6C8),
                  Rgb::Hex(0xB8A880));
        c.Polygon({{0.61, 0.37}, {0.66, 0.36}, {0.72, 0.25}, {0.64, 0.31}, {0.59, 0.34}}, Rgb::Hex(0xF0E6C8),
                  Rgb::Hex(0xB8A880));
      }
      break;
    case kClassKnight:
      c.Ellipse({kHeadX, kHeadY - 0.04, 0.13, 0.125}, Rgb::Hex(0xC4CCD8), DemoCanvas::kLit, 0, -1, top + 0.07);
      c.Rect(kHeadX - 0.13, top + 0.06, kHeadX + 0.13, top + 0.08, Rgb::Hex(0x8A929E));
      c.Rect(kHeadX - 0.008, top + 0.07, kHeadX + 0.008, kHeadY + 0.04, Rgb::Hex(0x9AA2AE));  // nose guard
      c.Polygon({{0.5, top - 0.075}, {0.56, top - 0.1}, {0.66, top - 0.04}, {0.6, top - 0.03}, {0.52, top - 0.05}},
                f.accent.MixedWith(Rgb::Hex(0xFFFFFF), 0.3), f.accent);  // plume
      break;
    case kClassDruid: {
      static constexpr Point kWreath[] = {{-1.0, 0.1}, {-0.87, -0.35}, {-0.55, -0.72}, {0, -0.9},
                                          {0.55, -0.72}, {0.87, -0.35}, {1.0, 0.1}};
      for (const Point& p : kWreath) {
        c.Ellipse({kHeadX + p.x * (kHeadRx + 0.005), kHeadY - 0.06 + p.y * 0.1, 0.028, 0.018}, Rgb::Hex(0x6AAA3A),
                  DemoCanvas::kLit);
      }
      c.Ellipse({kHeadX, top + 0.03, 0.012, 0.012}, Rgb::Hex(0xD03040));  // berry
      break;
    }
    case kClassMage:
      c.Ellipse({kHeadX, top + 0.04, 0.19, 0.035}, f.clothing.Scaled(0.8), DemoCanvas::kLit);
      c.Polygon({{0.37, top + 0.04}, {0.63, top + 0.04}, {0.58, top - 0.12}, {0.66, top - 0.17}, {0.53, top - 0.13}},
                f.clothing.Scaled(1.1), f.clothing.Scaled(0.8));
      Star(c, 0.48, top - 0.02, 0.025, f.accent);
      break;
    case kClassLord:
      c.Polygon({{0.39, top + 0.05}, {0.39, top - 0.03}, {0.435, top + 0.01}, {0.47, top - 0.045}, {0.5, top + 0.005},
                 {0.53, top - 0.045}, {0.565, top + 0.01}, {0.61, top - 0.03}, {0.61, top + 0.05}},
                Rgb::Hex(0xF8DC6A), Rgb::Hex(0xB8901A));
      c.Ellipse({0.5, top + 0.03, 0.012, 0.012}, Rgb::Hex(0xC01830));
      c.Ellipse({0.43, top + 0.032, 0.009, 0.009}, Rgb::Hex(0x2040C0));
      c.Ellipse({0.57, top + 0.032, 0.009, 0.009}, Rgb::Hex(0x2040C0));
      break;
    case kClassNecromancer:
      c.Ellipse({kHeadX, kHeadY - 0.03, 0.165, 0.19}, f.clothing.Scaled(1.3), DemoCanvas::kLit, 0, -1, top + 0.05);
      break;
    case kClassSorcerer:
      c.Rect(kHeadX - kHeadRx + 0.01, top + 0.045, kHeadX + kHeadRx - 0.01, top + 0.06, f.accent.Scaled(0.8));
      c.Ellipse({kHeadX, top + 0.052, 0.014, 0.016}, Rgb::Hex(0x40E0FF), DemoCanvas::kLit);  // gem
      break;
    case kClassThief:
      c.Ellipse({kHeadX, kHeadY - 0.04, 0.125, 0.115}, f.accent, DemoCanvas::kLit, 0, -1, top + 0.06);  // bandana
      c.Rect(kHeadX - kHeadRx, kEyeY - 0.022, kHeadX + kHeadRx, kEyeY + 0.02, Rgb::Hex(0x181818));     // mask
      for (double side : {-1.0, 1.0}) {
        c.Ellipse({kHeadX + side * kEyeDx, kEyeY, 0.012, 0.011}, Rgb::Hex(0xF4F4F0));
        c.Ellipse({kHeadX + side * kEyeDx, kEyeY, 0.007, 0.009}, f.eyes);
      }
      if (f.scarf) c.Ellipse({kHeadX, kHeadY + 0.1, 0.12, 0.06}, f.clothing.Scaled(1.2), DemoCanvas::kLit);
      break;
    case kClassDeathKnight:
      c.Ellipse({kHeadX, kHeadY - 0.005, 0.13, 0.16}, f.clothing.Scaled(1.35), DemoCanvas::kLit);
      c.Rect(kHeadX - 0.09, kEyeY - 0.014, kHeadX + 0.09, kEyeY + 0.014, Rgb::Hex(0x080808));  // visor slit
      c.Ellipse({kHeadX - kEyeDx, kEyeY, 0.016, 0.008}, f.accent.MixedWith(Rgb::Hex(0xFFFF80), 0.3));
      c.Ellipse({kHeadX + kEyeDx, kEyeY, 0.016, 0.008}, f.accent.MixedWith(Rgb::Hex(0xFFFF80), 0.3));
      c.Polygon({{0.47, top + 0.01}, {0.5, top - 0.08}, {0.53, top + 0.01}}, f.clothing.Scaled(1.5));  // spike
      c.Rect(kHeadX - 0.006, kEyeY + 0.03, kHeadX + 0.006, kHeadY + 0.12, Rgb::Hex(0x101010));
      break;
    default:
      break;
  }
}

// The ring of the hero's alignment at the rim, then the black corners.
Picture Frame(const Picture& scene, uint8_t ring_class) {
  Picture face = scene;
  const int size = face.width();
  const Picture overlay = MakeRingOverlay(size);
  const uint32_t alignment = AlignmentOfClass(ring_class);
  // In half pixels from the centre, so all of it stays integer.
  const long long from = 2LL * size * kRingFromRadiusPercent / 100;
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < size; ++x) {
      const long long dx = 2LL * x + 1 - size, dy = 2LL * y + 1 - size;
      if (overlay.at(x, y) == kColourBlack || dx * dx + dy * dy < from * from) continue;
      face.at(x, y) = RingColour(overlay.at(x, y), ring_class, alignment);
    }
  }
  ApplyFaceMask(&face, MakeFaceMask(face.width()));
  return face;
}

}  // namespace

Picture DrawDemoFace(const DemoHero& hero, int size) {
  const Features f = FeaturesOf(hero);
  const Backdrop backdrop = BackdropOf(AlignmentOfClass(hero.hero_class));
  const double shade = 0.9 + 0.05 * static_cast<double>(hero.look % 5);
  DemoCanvas c(size, kSceneZoom);
  c.Gradient(Rgb::Hex(backdrop.top).Scaled(shade), Rgb::Hex(backdrop.bottom).Scaled(shade));
  c.Ellipse({0.5, 0.42, 0.3, 0.3}, Rgb::Hex(backdrop.top).MixedWith(Rgb::Hex(0xFFFFFF), 0.25), DemoCanvas::kFlat,
            0.0);  // glow behind the head
  BehindHead(c, hero, f);
  Body(c, hero, f);
  Face(c, hero, f);
  Headgear(c, hero, f);
  return Frame(c.Resolve(), hero.hero_class);
}

Picture DrawPseudoHeroFace(size_t record, int size) {
  DemoCanvas c(size, kSceneZoom);
  if (record == kDeadRecord) {
    c.Gradient(Rgb::Hex(0x5A5A6A), Rgb::Hex(0x18181F));
    Skull(c, 0.5, 0.42, 0.17, Rgb::Hex(0xE8E2CC), Rgb::Hex(0x141414));
  } else {
    c.Gradient(Rgb::Hex(0x1A2450), Rgb::Hex(0x060A1E));
    c.Ellipse({0.46, 0.5, 0.19, 0.19}, Rgb::Hex(0xF4E08A), DemoCanvas::kLit);
    c.Ellipse({0.55, 0.43, 0.17, 0.17}, Rgb::Hex(0x141C42));  // leaves a crescent
    const Rgb z = Rgb::Hex(0xE8ECFF);
    for (const Point& at : {Point{0.58, 0.34}, Point{0.66, 0.25}}) {
      const double s = at.x > 0.6 ? 0.035 : 0.05;
      c.Segment({at.x - s, at.y - s}, {at.x + s, at.y - s}, 0.009, z);
      c.Segment({at.x + s, at.y - s}, {at.x - s, at.y + s}, 0.009, z);
      c.Segment({at.x - s, at.y + s}, {at.x + s, at.y + s}, 0.009, z);
    }
    for (const Point& star : {Point{0.32, 0.3}, Point{0.7, 0.6}, Point{0.4, 0.72}}) {
      c.Ellipse({star.x, star.y, 0.01, 0.01}, Rgb::Hex(0xFFFFFF));
    }
  }
  // The pseudo-heroes sit in the death bundles; their ring is death's.
  return Frame(c.Resolve(), kClassNecromancer);
}

}  // namespace qm::demo
