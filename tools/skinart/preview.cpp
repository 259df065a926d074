#include "tools/skinart/preview.h"

#include <vector>

#include "tools/skinart/layout.h"
#include "tools/skinart/quantize.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace qm::skinart {
namespace {

// A plain desktop behind the shaped window, so the outline shows.
uint32_t Desktop(int x, int y) {
  const bool check = ((x / 8) + (y / 8)) % 2 == 0;
  return check ? MakeColour(58, 110, 165) : MakeColour(70, 124, 178);
}

void Blit(Picture& to, const Picture& from, int left, int top) {
  for (int y = 0; y < from.height(); ++y) {
    for (int x = 0; x < from.width(); ++x) {
      if (left + x < to.width() && top + y < to.height()) to.at(left + x, top + y) = from.at(x, y);
    }
  }
}

// Key-coloured pixels show the desktop.
Picture OnDesktop(const Picture& window, int margin) {
  Picture out(window.width() + 2 * margin, window.height() + 2 * margin);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) out.at(x, y) = Desktop(x, y);
  }
  for (int y = 0; y < window.height(); ++y) {
    for (int x = 0; x < window.width(); ++x) {
      if (window.at(x, y) != kKeyColour) out.at(margin + x, margin + y) = window.at(x, y);
    }
  }
  return out;
}

Picture Enlarge(const Picture& picture, int factor) {
  Picture out(picture.width() * factor, picture.height() * factor);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) out.at(x, y) = picture.at(x / factor, y / factor);
  }
  return out;
}

Status WritePng(const Picture& picture, const std::string& path) {
  std::vector<uint8_t> rgb;
  rgb.reserve(picture.pixels().size() * 3);
  for (uint32_t c : picture.pixels()) {
    rgb.push_back(RedOf(c));
    rgb.push_back(GreenOf(c));
    rgb.push_back(BlueOf(c));
  }
  if (stbi_write_png(path.c_str(), picture.width(), picture.height(), 3, rgb.data(), picture.width() * 3) == 0) {
    return Status::Fail(path + ": cannot write the preview");
  }
  return Status::Ok();
}

Picture IconStrip(const std::vector<IconImage>& icons, int factor) {
  int width = 8;
  for (const IconImage& icon : icons) width += icon.size * factor + 8;
  Picture out(width, 48 * factor + 16);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) out.at(x, y) = ((x / 6 + y / 6) % 2) ? MakeColour(200, 200, 200) : MakeColour(240, 240, 240);
  }
  int left = 8;
  for (const IconImage& icon : icons) {
    for (int y = 0; y < icon.size * factor; ++y) {
      for (int x = 0; x < icon.size * factor; ++x) {
        const uint8_t* p = &icon.rgba[(static_cast<size_t>(y / factor) * static_cast<size_t>(icon.size) +
                                       static_cast<size_t>(x / factor)) * 4];
        const uint32_t under = out.at(left + x, 8 + y);
        const auto mix = [&](uint8_t over, uint8_t below) {
          return static_cast<uint32_t>((over * p[3] + below * (255 - p[3]) + 127) / 255);
        };
        out.at(left + x, 8 + y) = MakeColour(mix(p[0], RedOf(under)), mix(p[1], GreenOf(under)), mix(p[2], BlueOf(under)));
      }
    }
    left += icon.size * factor + 8;
  }
  return out;
}

}  // namespace

Status WritePreviews(const SkinImages& images, const std::string& folder) {
  Picture window = Expand(images.main_backdrop);
  Blit(window, images.face_large, kLargeFace.left, kLargeFace.top);
  Blit(window, images.face_small, kSmallFace.left, kSmallFace.top);
  const Picture main = OnDesktop(window, 16);
  Status s = WritePng(main, folder + "/main_window.png");
  if (s) s = WritePng(Enlarge(main, 2), folder + "/main_window_x2.png");
  if (s) s = WritePng(Expand(images.panel_backdrop), folder + "/panel.png");
  if (s) s = WritePng(Expand(images.patcher_background), folder + "/patcher.png");
  if (s) s = WritePng(Enlarge(OnDesktop(Expand(images.button_sheet), 2), 8), folder + "/button_sheet_x8.png");
  if (s) s = WritePng(IconStrip(images.icon, 4), folder + "/icon_x4.png");
  return s;
}

}  // namespace qm::skinart
