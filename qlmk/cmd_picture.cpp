// qlmk picture: picture operations on their own, for trying out the resize methods.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "heroes/value_tables.h"
#include "portrait/picture_file.h"
#include "portrait/resample.h"
#include "qlmk/command.h"

namespace qlmk {
namespace {

constexpr const char* kUsage =
    "usage: qlmk picture resize IN OUT WxH [--method smart|halftone|s-bresenham|blinear|bcubic]\n"
    "\n"
    "Loads the picture IN (JPEG, GIF, BMP or PNG; transparent pixels become white), stretches\n"
    "the whole of it to W x H pixels with the resize method (default blinear, as the editor\n"
    "starts) and writes OUT as PNG or BMP, by its extension. Nothing else is applied: no crop,\n"
    "ring or mask. smart and halftone are portable stand-ins for the platform's own stretch\n"
    "modes that the editor uses. A JPEG at least twice as large as W x H is decoded at 1/2,\n"
    "1/4 or 1/8 of its size, as long as it stays twice as large, which is much faster.\n";

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
  if (args.positional().size() != 4) return Usage("picture resize needs IN, OUT and WxH", kUsage);
  const std::string& in = args.positional()[1];
  const std::string& out = args.positional()[2];
  int width = 0, height = 0;
  if (!ParseSize(args.positional()[3], &width, &height)) {
    return Usage("not a size (WxH, 1 to 65535 each): " + args.positional()[3], kUsage);
  }
  if (static_cast<size_t>(width) * static_cast<size_t>(height) > qm::kMaxPicturePixels) {
    return Usage("size too large: " + args.positional()[3], kUsage);
  }
  const std::string token = args.Value("--method", "blinear");
  const uint32_t method = qm::IdOfToken(qm::kResizeMethodTable, token);
  if (method == 0) return Usage("unknown resize method: " + token, kUsage);

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
  if (qm::Status s = qm::StretchWithMethod(picture, {0, 0, picture.width(), picture.height()},
                                           &resized, {0, 0, width, height}, static_cast<int>(method));
      !s) {
    return Fail(in + ": " + s.why());
  }
  if (qm::Status s = qm::WritePictureFile(out, resized); !s) return Fail(s.why());
  const std::string decoded =
      reduce.divisor > 1 ? ", decoded at 1/" + std::to_string(reduce.divisor) + " size" : std::string();
  std::printf("%s: %d x %d -> %d x %d (%s%s)\n", out.c_str(), reduce.file_width, reduce.file_height, width, height,
              std::string(qm::TokenOfId(qm::kResizeMethodTable, method)).c_str(), decoded.c_str());
  return kExitOk;
}

int Run(const std::vector<std::string>& words) {
  return RunSubcommand(words, "picture", {{"resize", {"--method"}, {}, Resize}}, kUsage);
}

QLMK_COMMAND("picture", "resize a picture with one of the face resize methods", Run);

}  // namespace
}  // namespace qlmk
