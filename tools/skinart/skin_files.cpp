#include "tools/skinart/skin_files.h"

#include "heroes/face_size.h"
#include "portrait/face_art.h"
#include "tools/skinart/artwork.h"
#include "tools/skinart/quantize.h"

namespace qm::skinart {
namespace {

constexpr uint32_t kPanelColour = 0x00CEFBFF;  // red 255, green 251, blue 206
constexpr double kDither = 0.5;

IndexedImage Reduce(const Canvas& canvas) {
  return Quantize(canvas, {kKeyColour, kPanelColour, kColourBlack, kColourWhite}, kDither);
}

// A grey overlay as a 256-colour bitmap whose palette is the grey ramp, so index = grey.
std::vector<uint8_t> GreyIndexed(const Picture& picture) {
  IndexedImage image;
  image.width = picture.width();
  image.height = picture.height();
  for (uint32_t i = 0; i < 256; ++i) image.palette.push_back(MakeColour(i, i, i));
  for (uint32_t c : picture.pixels()) image.indices.push_back(RedOf(c));
  return EncodeIndexedBmp(image);
}

}  // namespace

SkinImages DrawSkinImages() {
  SkinImages images;
  images.main_backdrop = Reduce(DrawMainBackdrop());
  images.button_sheet = Reduce(DrawButtonSheet());
  images.panel_backdrop = Reduce(DrawPanelBackdrop());
  images.patcher_background = Reduce(DrawPatcherBackground());
  images.face_large = ToPicture(DrawEmptyFace(kLargeFaceSize));
  images.face_small = ToPicture(DrawEmptyFace(kSmallFaceSize));
  images.mask_large = MakeFaceMask(kLargeFaceSize);
  images.mask_small = MakeFaceMask(kSmallFaceSize);
  images.overlay_large = MakeRingOverlay(kLargeFaceSize);
  images.overlay_small = MakeRingOverlay(kSmallFaceSize);
  images.icon = DrawIcon(Program::kEditor);
  images.patcher_icon = DrawIcon(Program::kPatcher);
  images.restore_icon = DrawIcon(Program::kRestore);
  return images;
}

std::vector<OutputFile> EncodeSkinFiles(const SkinImages& images) {
  return {
      {"skin/backdrop_main.bmp", EncodeIndexedBmp(images.main_backdrop)},
      {"skin/button_sheet.bmp", EncodeIndexedBmp(images.button_sheet)},
      {"skin/face_large.bmp", EncodeTrueColourBmp(images.face_large)},
      {"skin/face_small.bmp", EncodeTrueColourBmp(images.face_small)},
      {"skin/mask_small.bmp", EncodeMonochromeBmp(images.mask_small)},
      {"skin/mask_large.bmp", EncodeMonochromeBmp(images.mask_large)},
      {"skin/backdrop_panel.bmp", EncodeIndexedBmp(images.panel_backdrop)},
      {"skin/overlay_large.bmp", GreyIndexed(images.overlay_large)},
      {"skin/overlay_small.bmp", GreyIndexed(images.overlay_small)},
      {"quillmark.ico", EncodeIcon(images.icon)},
      {"qlmksfx.ico", EncodeIcon(images.patcher_icon)},
      {"restore.ico", EncodeIcon(images.restore_icon)},
      {"patcher_background.bmp", EncodeIndexedBmp(images.patcher_background)},
  };
}

}  // namespace qm::skinart
