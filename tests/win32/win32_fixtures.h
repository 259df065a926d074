// Picture files for the Windows-side tests, written on the fly: a four-colour test card as
// JPEG, BMP, PNG with a transparent quadrant and GIF with a transparent colour.
//
// The card is w x h with quadrants (top-left, top-right, bottom-left, bottom-right) of
// kCardColours; in the PNG and the GIF the bottom-right quadrant is transparent.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "portrait/picture.h"

namespace qm::test {

constexpr uint32_t kCardColours[4] = {MakeColour(200, 30, 30), MakeColour(30, 160, 40),
                                      MakeColour(40, 60, 210), MakeColour(230, 210, 40)};

Picture TestCard(int width, int height);
uint32_t CardQuadrantColour(int width, int height, int x, int y);

std::vector<uint8_t> CardJpeg(int width, int height, int quality = 95);
std::vector<uint8_t> CardPngWithAlpha(int width, int height);
std::vector<uint8_t> CardGifWithTransparency(int width, int height);
std::vector<uint8_t> CardBmp(int width, int height);

// The pixels of a bitmap, whole (GetDIBits through the skin's reader).
Picture BitmapPixels(HBITMAP bitmap);

// A hidden top-level window for clipboard ownership and subclassing.
class HiddenWindow {
 public:
  HiddenWindow();
  ~HiddenWindow();
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace qm::test
