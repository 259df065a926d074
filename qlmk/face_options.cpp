#include "qlmk/face_options.h"

#include <cstdint>
#include <string>

#include "heroes/value_tables.h"

namespace qlmk {

namespace {

// "LO:HI", each a whole percentage 0..100.
bool ParseRange(const std::string& text, int* low, int* high) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  auto percent = [](const std::string& digits, int* out) {
    if (digits.empty() || digits.size() > 3) return false;
    int v = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    if (v > 100) return false;
    *out = v;
    return true;
  };
  return percent(text.substr(0, colon), low) && percent(text.substr(colon + 1), high) && *low <= *high;
}

}  // namespace

int ResizeMethodFromArgs(const Args& args, int* method) {
  if (!args.Has("--method")) return kExitOk;
  const std::string token = args.Value("--method");
  const uint32_t id = qm::IdOfToken(qm::kResizeMethodTable, token);
  if (id == 0) return args.Usage("unknown resize method: " + token);
  *method = static_cast<int>(id);
  return kExitOk;
}

int FaceOptionsFromArgs(const Args& args, qm::FaceOptions* options) {
  if (int rc = ResizeMethodFromArgs(args, &options->resize_method); rc != kExitOk) return rc;
  if (args.Has("--aspect")) options->aspect_lock = true;
  if (args.Has("--ring")) options->auto_ring = true;
  if (args.Has("--no-small-copy")) options->small_face_copy = false;
  if (args.Has("--small-from-large")) options->small_face_copy = true;
  if (args.Has("--x-range")) {
    options->use_x_range = true;
    if (!ParseRange(args.Value("--x-range"), &options->x_low, &options->x_high)) {
      return args.Usage("--x-range takes LO:HI, percentages 0 to 100 with LO <= HI");
    }
  }
  if (args.Has("--y-range")) {
    options->use_y_range = true;
    if (!ParseRange(args.Value("--y-range"), &options->y_low, &options->y_high)) {
      return args.Usage("--y-range takes LO:HI, percentages 0 to 100 with LO <= HI");
    }
  }
  return kExitOk;
}

}  // namespace qlmk
