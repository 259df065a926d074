#include "tools/skinart/preview.h"

#include <span>
#include <vector>

#include "skin/button_face.h"
#include "skin/control_layout.h"
#include "skin/pixel_shade.h"
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

Picture Cut(const Picture& from, int left, int top, int width, int height) {
  Picture out(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int sx = left + x, sy = top + y;
      if (sx >= 0 && sy >= 0 && sx < from.width() && sy < from.height()) out.at(x, y) = from.at(sx, sy);
    }
  }
  return out;
}

// Copies a cell of the button sheet, leaving what lies under its key-coloured pixels.
void BlitCell(Picture& to, const Picture& sheet, skin::SheetCell cell, int width, int height, int left, int top) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = sheet.at(cell.x + x, cell.y + y);
      if (c != kKeyColour) to.at(left + x, top + y) = c;
    }
  }
}

void Frame(Picture& to, int left, int top, int width, int height) {
  for (int x = left; x < left + width; ++x) to.at(x, top) = to.at(x, top + height - 1) = kColourBlack;
  for (int y = top; y < top + height; ++y) to.at(left, y) = to.at(left + width - 1, y) = kColourBlack;
}

// The controls as the skin draws them, without their texts (those come from the system's
// font): text buttons as bevelled pieces of the backdrop, edit and combo boxes on their
// lightened backdrop, check boxes, arrows and caption buttons from the sheet.
void DrawControls(Picture& window, const Picture& sheet, std::span<const skin::ControlPlacement> controls) {
  const Picture backdrop = window;
  constexpr int kComboHeight = 20;
  for (const skin::ControlPlacement& c : controls) {
    switch (c.kind) {
      case skin::ControlKind::kButton: {
        const skin::DrawKind draw = skin::DrawKindOf(c.id);
        if (draw == skin::DrawKind::kCaptionButton) {
          BlitCell(window, sheet, skin::CaptionButtonCell(c.id, false), 24, 20, c.left, c.top);
        } else if (draw == skin::DrawKind::kArrow) {
          BlitCell(window, sheet, skin::ArrowCell(c.id, false), 16, 14, c.left, c.top);
        } else {
          Picture face = Cut(backdrop, c.left, c.top, c.width, c.height);
          skin::ShadeButtonFace(&face, 0, 0, c.width - 1, c.height - 1, 25,
                                c.disabled ? skin::ButtonLook::kDisabled : skin::ButtonLook::kNormal);
          Blit(window, face, c.left, c.top);
        }
        break;
      }
      case skin::ControlKind::kNumberBox:
      case skin::ControlKind::kLineEdit:
      case skin::ControlKind::kBiographyEdit:
        skin::BrightenArea(&window, c.left, c.top, c.left + c.width - 1, c.top + c.height - 1, 15);
        Frame(window, c.left, c.top, c.width, c.height);
        break;
      case skin::ControlKind::kCombo:
        skin::BrightenArea(&window, c.left, c.top, c.left + c.width - 1, c.top + kComboHeight - 1, 15);
        Frame(window, c.left + 1, c.top + 1, c.width - 2, kComboHeight - 2);
        break;
      case skin::ControlKind::kCheckBox:
        BlitCell(window, sheet, skin::CheckBoxCell(c.disabled, true), 16, 14, c.left, c.top);
        break;
      default:
        break;
    }
  }
}

}  // namespace

Status WritePreviews(const SkinImages& images, const std::string& folder) {
  Picture window = Expand(images.main_backdrop);
  const Rect large = ControlRect(skin::kIdLargeFace), small = ControlRect(skin::kIdSmallFace);
  Blit(window, images.face_large, large.left, large.top);
  Blit(window, images.face_small, small.left, small.top);
  const Picture main = OnDesktop(window, 16);
  Status s = WritePng(main, folder + "/main_window.png");
  if (s) s = WritePng(Enlarge(main, 2), folder + "/main_window_x2.png");
  const Picture sheet = Expand(images.button_sheet);
  Picture with_controls = window;
  DrawControls(with_controls, sheet, skin::kMainControls);
  if (s) s = WritePng(OnDesktop(with_controls, 16), folder + "/main_window_controls.png");
  Picture option = Expand(images.panel_backdrop);
  DrawControls(option, sheet, skin::kOptionControls);
  if (s) s = WritePng(option, folder + "/option_panel.png");
  Picture about = Expand(images.panel_backdrop);
  DrawControls(about, sheet, skin::kAboutControls);
  for (int row : {25, 55, 200}) {
    skin::BrightenArea(&about, 10, row, 470, row, -30);
    skin::BrightenArea(&about, 10, row + 1, 470, row + 1, 30);
  }
  if (s) s = WritePng(about, folder + "/about_panel.png");
  if (s) s = WritePng(Expand(images.patcher_background), folder + "/patcher.png");
  if (s) s = WritePng(Enlarge(OnDesktop(Expand(images.button_sheet), 2), 8), folder + "/button_sheet_x8.png");
  if (s) s = WritePng(IconStrip(images.icon, 4), folder + "/icon_x4.png");
  if (s) s = WritePng(IconStrip(images.patcher_icon, 4), folder + "/icon_patcher_x4.png");
  if (s) s = WritePng(IconStrip(images.restore_icon, 4), folder + "/icon_restore_x4.png");
  return s;
}

}  // namespace qm::skinart
