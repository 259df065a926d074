// qlmk picture: picture operations on their own, for trying out the resize methods.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "heroes/value_tables.h"
#include "portrait/picture_file.h"
#include "portrait/resample.h"
#include "qlmk/command.h"
#include "qlmk/face_options.h"

namespace qlmk {
namespace {

constexpr int kMaxSide = 65535;

// "WxH" with both sides 1 .. 65535.
bool ParseSize(const std::string& text, int* width, int* height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos || x == 0 || x + 1 == text.size()) return false;
  auto number = [](const std::string& digits, int* out) {
    if (digits.empty() || digits.size() > 5) return false;
    int value = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxSide) return false;
    *out = value;
    return true;
  };
  return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

int Resize(const Args& args) {
  const std::string& in = args.positional()[0];
  const std::string& out = args.positional()[1];
  const std::string& size = args.positional()[2];
  int width = 0, height = 0;
  if (!ParseSize(size, &width, &height)) return args.Usage("not a size (WxH, 1 to 65535 each): " + size);
  if (static_cast<size_t>(width) * static_cast<size_t>(height) > qm::kMaxPicturePixels) {
    return args.Usage("size too large: " + size);
  }
  int method = qm::kResizeBilinear;  // as the editor starts
  if (int rc = ResizeMethodFromArgs(args, &method); rc != kExitOk) return rc;

  qm::Picture picture;
  qm::ReducedDecode reduce = qm::ReducedForSize(width, height);
  if (qm::Status s = qm::LoadPictureFile(in, false, qm::kTransparentColour, &picture, &reduce); !s) {
    return Fail(s.why());
  }
  qm::Picture resized;
  try {
    resized = qm::Picture(width, height);
  } catch (const std::bad_alloc&) {
    return Fail(out + ": not enough memory for a picture of that size");
  }
  if (qm::Status s = qm::StretchWithMethod(picture, {0, 0, picture.width(), picture.height()}, &resized,
                                           {0, 0, width, height}, method);
      !s) {
    return Fail(in, s);
  }
  if (qm::Status s = qm::WritePictureFile(out, resized); !s) return Fail(s.why());
  const std::string decoded =
      reduce.divisor > 1 ? ", decoded at 1/" + std::to_string(reduce.divisor) + " size" : std::string();
  std::printf("%s: %d x %d -> %d x %d (%s%s)\n", out.c_str(), reduce.file_width, reduce.file_height, width, height,
              std::string(qm::TokenOfId(qm::kResizeMethodTable, static_cast<uint32_t>(method))).c_str(),
              decoded.c_str());
  return kExitOk;
}

const Command kPicture = {
    .name = "picture",
    .summary = "resize a picture with one of the face resize methods",
    .details =
        "smart and halftone are portable stand-ins for the platform's own stretch modes that the\n"
        "editor uses. A JPEG at least twice as large as W x H is decoded at 1/2, 1/4 or 1/8 of\n"
        "its size, as long as it stays twice as large, which is much faster.\n",
    .subcommands =
        {
            {.name = "resize",
             .summary = "loads the picture IN (JPEG, GIF, BMP or PNG; transparent pixels become white), stretches "
                        "the whole of it to W x H pixels with the resize method and writes OUT as PNG or BMP, by "
                        "its extension. Nothing else is applied: no crop, ring or mask",
             .positionals = {{"IN"}, {"OUT"}, {"WxH"}},
             .groups = {kResizeMethodOption},
             .run = Resize},
        },
};
QLMK_COMMAND(kPicture);

}  // namespace
}  // namespace qlmk
