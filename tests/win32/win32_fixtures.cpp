#include "tests/win32/win32_fixtures.h"

#include <stb_image_write.h>

#include <stdexcept>

#include "portrait/bitmap_pixels_win32.h"
#include "portrait/picture_file.h"

namespace qm::test {
namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

int Quadrant(int width, int height, int x, int y) {
  return (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
}

std::vector<uint8_t> CardRgb(int width, int height, int channels) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int q = Quadrant(width, height, x, y);
      const uint32_t c = kCardColours[q];
      pixels.insert(pixels.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
      if (channels == 4) pixels.push_back(q == 3 ? 0 : 255);
    }
  }
  return pixels;
}

// GIF codes are packed from the low bit up, in sub-blocks of at most 255 bytes.
class GifCodeWriter {
 public:
  void Put(unsigned code, int bits) {
    accumulator_ |= code << filled_;
    filled_ += bits;
    while (filled_ >= 8) {
      bytes_.push_back(static_cast<uint8_t>(accumulator_));
      accumulator_ >>= 8;
      filled_ -= 8;
    }
  }
  std::vector<uint8_t> Blocks() {
    if (filled_ > 0) bytes_.push_back(static_cast<uint8_t>(accumulator_));
    std::vector<uint8_t> out;
    for (size_t at = 0; at < bytes_.size(); at += 255) {
      const size_t n = std::min<size_t>(255, bytes_.size() - at);
      out.push_back(static_cast<uint8_t>(n));
      out.insert(out.end(), bytes_.begin() + static_cast<long>(at),
                 bytes_.begin() + static_cast<long>(at + n));
    }
    out.push_back(0);
    return out;
  }

 private:
  std::vector<uint8_t> bytes_;
  unsigned accumulator_ = 0;
  int filled_ = 0;
};

void Put16(std::vector<uint8_t>* out, int v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

uint32_t CardQuadrantColour(int width, int height, int x, int y) {
  return kCardColours[Quadrant(width, height, x, y)];
}

Picture TestCard(int width, int height) {
  Picture card(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) card.at(x, y) = CardQuadrantColour(width, height, x, y);
  }
  return card;
}

std::vector<uint8_t> CardJpeg(int width, int height, int quality) {
  std::vector<uint8_t> out;
  const std::vector<uint8_t> rgb = CardRgb(width, height, 3);
  if (!stbi_write_jpg_to_func(Append, &out, width, height, 3, rgb.data(), quality)) {
    throw std::runtime_error("cannot write the JPEG card");
  }
  return out;
}

std::vector<uint8_t> CardPngWithAlpha(int width, int height) {
  std::vector<uint8_t> out;
  const std::vector<uint8_t> rgba = CardRgb(width, height, 4);
  if (!stbi_write_png_to_func(Append, &out, width, height, 4, rgba.data(), width * 4)) {
    throw std::runtime_error("cannot write the PNG card");
  }
  return out;
}

std::vector<uint8_t> CardBmp(int width, int height) {
  std::vector<uint8_t> out;
  if (!EncodePicture(TestCard(width, height), PictureFormat::kBmp, &out)) {
    throw std::runtime_error("cannot write the BMP card");
  }
  return out;
}

std::vector<uint8_t> CardGifWithTransparency(int width, int height) {
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(&gif, width);
  Put16(&gif, height);
  gif.insert(gif.end(), {0x91, 0, 0});  // global table of 4 colours, background 0, no aspect
  for (uint32_t c : kCardColours) gif.insert(gif.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
  gif.insert(gif.end(), {0x21, 0xF9, 4, 0x01, 0, 0, 3, 0});  // colour 3 is transparent
  gif.push_back(0x2C);
  Put16(&gif, 0);
  Put16(&gif, 0);
  Put16(&gif, width);
  Put16(&gif, height);
  gif.push_back(0);
  gif.push_back(2);  // minimum code size: 2 bits, so codes are 3 bits wide
  // A clear code before every pixel keeps the code width at 3 bits: no compression, no doubt.
  constexpr unsigned kClear = 4, kEnd = 5;
  GifCodeWriter codes;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      codes.Put(kClear, 3);
      codes.Put(static_cast<unsigned>(Quadrant(width, height, x, y)), 3);
    }
  }
  codes.Put(kEnd, 3);
  const std::vector<uint8_t> blocks = codes.Blocks();
  gif.insert(gif.end(), blocks.begin(), blocks.end());
  gif.push_back(0x3B);
  return gif;
}

Picture BitmapPixels(HBITMAP bitmap) {
  Picture picture;
  if (!ReadBitmapPixels(bitmap, &picture)) throw std::runtime_error("cannot read bitmap");
  return picture;
}

HiddenWindow::HiddenWindow() {
  window_ = CreateWindowExA(0, "STATIC", "qm-test", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) throw std::runtime_error("cannot create a window");
}

HiddenWindow::~HiddenWindow() { DestroyWindow(window_); }

}  // namespace qm::test
