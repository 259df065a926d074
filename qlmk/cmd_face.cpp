// qlmk face export, face import: a hero's faces as pictures, the editor's face Load command.
#include <cstdio>
#include <string>
#include <vector>

#include "heroes/catalogue_faces.h"
#include "heroes/value_tables.h"
#include "portrait/face_fit.h"
#include "portrait/picture_file.h"
#include "qlmk/command.h"
#include "qlmk/game_context.h"
#include "resources/string_ids.h"

namespace qlmk {
namespace {

const std::string kUsage =
    std::string(
        "usage: qlmk face export ID large|small OUT.png|OUT.bmp [--game DIR] [--archive FILE]\n"
        "       qlmk face import ID large|small PICTURE [--method M] [--aspect] [--x-range LO:HI]\n"
        "                        [--y-range LO:HI] [--ring] [--no-small-copy] [--game DIR] [--archive FILE]\n"
        "\n"
        "export writes the hero's face as the editor shows it (82 x 82 or 52 x 52).\n"
        "\n"
        "import puts a JPEG, GIF, BMP or PNG picture into the face as the editor's Load button does,\n"
        "then saves the catalogue into the working archive. Only a record that holds a face of that\n"
        "size takes a new one (\"dead\" and \"sleeping\" always do). Options, as in the editor's\n"
        "option panel:\n"
        "  --method M        smart, halftone, s-bresenham, blinear (default) or bcubic\n"
        "  --aspect          crop the picture to a centred square first (keep the aspect ratio)\n"
        "  --x-range LO:HI   use only the columns from LO to HI percent of the width\n"
        "  --y-range LO:HI   use only the rows from LO to HI percent of the height\n"
        "  --ring            transparent pixels take the ring of the hero's alignment\n"
        "  --no-small-copy   a new large face leaves the small face alone (by default the small\n"
        "                    face is made from it as well)\n"
        "ID is a record number or a hero's keyword. A JPEG whose crop is at least four times the\n"
        "face is decoded at 1/2, 1/4 or 1/8 of its size, keeping twice the face: much faster, and\n"
        "close to (not the same bits as) a full-size decode.\n") +
    kGameOptionsHelp;

bool ParseKind(const std::string& word, qm::FaceKind* kind) {
  if (word == "large") {
    *kind = qm::FaceKind::kLarge;
  } else if (word == "small") {
    *kind = qm::FaceKind::kSmall;
  } else {
    return false;
  }
  return true;
}

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

int Export(const Args& args) {
  if (args.positional().size() != 4) return Usage("face export needs ID, large or small, and OUT", kUsage.c_str());
  qm::FaceKind kind;
  if (!ParseKind(args.positional()[2], &kind)) return Usage("the face is large or small", kUsage.c_str());
  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  size_t index = 0;
  if (int rc = ResolveRecord(game.catalogue, args.positional()[1], &index); rc != kExitOk) return rc;
  qm::Picture face;
  if (!qm::DecodeRecordFace(game.catalogue, index, kind, &face)) {
    return Fail("record " + std::to_string(index) + " (\"" + game.catalogue.record(index).keyword + "\") has no " +
                args.positional()[2] + " face to show");
  }
  const std::string& out = args.positional()[3];
  if (qm::Status s = qm::WritePictureFile(out, face); !s) return Fail(s.why());
  std::printf("%s: %s face of record %zu (%d x %d)\n", out.c_str(), args.positional()[2].c_str(), index, face.width(),
              face.height());
  return kExitOk;
}

int Import(const Args& args) {
  const char* usage = kUsage.c_str();
  if (args.positional().size() != 4) return Usage("face import needs ID, large or small, and PICTURE", usage);
  qm::FaceKind kind;
  if (!ParseKind(args.positional()[2], &kind)) return Usage("the face is large or small", usage);
  qm::FaceOptions options;
  if (args.Has("--method")) {
    options.resize_method = static_cast<int>(qm::IdOfToken(qm::kResizeMethodTable, args.Value("--method")));
    if (options.resize_method == 0) return Usage("unknown resize method: " + args.Value("--method"), usage);
  }
  options.aspect_lock = args.Has("--aspect");
  options.auto_ring = args.Has("--ring");
  options.small_face_copy = !args.Has("--no-small-copy");
  if (args.Has("--x-range")) {
    options.use_x_range = true;
    if (!ParseRange(args.Value("--x-range"), &options.x_low, &options.x_high)) {
      return Usage("--x-range takes LO:HI, percentages 0 to 100 with LO <= HI", usage);
    }
  }
  if (args.Has("--y-range")) {
    options.use_y_range = true;
    if (!ParseRange(args.Value("--y-range"), &options.y_low, &options.y_high)) {
      return Usage("--y-range takes LO:HI, percentages 0 to 100 with LO <= HI", usage);
    }
  }

  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  size_t index = 0;
  if (int rc = ResolveRecord(game.catalogue, args.positional()[1], &index); rc != kExitOk) return rc;
  const bool large = kind == qm::FaceKind::kLarge;
  const std::string failed = EditorText(large ? qm::kMsgLoadLargeFailed : qm::kMsgLoadSmallFailed);
  const qm::HeroRecord& record = game.catalogue.record(index);
  // As the editor's Load button: only a record with the face flag of that size takes a face.
  if (!(large ? record.has_large() : record.has_small())) {
    return Fail(failed + " (record " + std::to_string(index) + ", \"" + record.keyword + "\", holds no " +
                args.positional()[2] + " face)");
  }
  const std::string& path = args.positional()[3];
  qm::Picture picture;
  qm::ReducedDecode reduce = qm::ReducedForFace(options, kind);
  if (qm::Status s = qm::LoadPictureFile(path, options.auto_ring, qm::kTransparentColour, &picture, &reduce); !s) {
    return Fail(failed + " (" + s.why() + ")");
  }
  if (qm::Status s = qm::PutPictureIntoRecord(&game.catalogue, index, picture, kind, options); !s) {
    return Fail(path + ": " + failed + " (" + s.why() + ")");
  }
  std::printf("%s\n", EditorText(large ? qm::kMsgLoadedLarge : qm::kMsgLoadedSmall).c_str());
  return SaveGame(game);
}

int Run(const std::vector<std::string>& words) {
  return RunSubcommand(words, "face",
                       {{"export", {"--game", "--archive"}, {}, Export},
                        {"import",
                         {"--game", "--archive", "--method", "--x-range", "--y-range"},
                         {"--aspect", "--no-small-copy", "--ring"},
                         Import}},
                       kUsage.c_str());
}

QLMK_COMMAND("face", "export a hero's face as a picture, or import a picture into it", Run);

}  // namespace
}  // namespace qlmk
