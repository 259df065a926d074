// qlmk face export, face import: a hero's faces as pictures, the editor's face Load command.
#include <cstdio>
#include <string>
#include <vector>

#include "base/quoted_text.h"
#include "heroes/catalogue_faces.h"
#include "portrait/face_fit.h"
#include "portrait/picture_file.h"
#include "qlmk/command.h"
#include "qlmk/face_options.h"
#include "qlmk/game_context.h"
#include "qlmk/hero_text.h"
#include "resources/string_ids.h"

namespace qlmk {
namespace {

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

// The code page, the game and the record the command line's ID names.
int OpenRecord(const Args& args, HeroText* text, Game* game, size_t* index) {
  if (int rc = LoadGameWithText(args, text, game); rc != kExitOk) return rc;
  return ResolveRecord(game->catalogue, *text, args.positional_text()[0], index);
}

int Export(const Args& args) {
  qm::FaceKind kind;
  if (!ParseKind(args.positional()[1], &kind)) return args.Usage("the face is large or small");
  HeroText text;
  Game game;
  size_t index = 0;
  if (int rc = OpenRecord(args, &text, &game, &index); rc != kExitOk) return rc;
  qm::Picture face;
  if (!qm::DecodeRecordFace(game.catalogue, index, kind, &face)) {
    return Fail("record " + std::to_string(index) + " (" +
                qm::QuotedText(text.Utf8(game.catalogue.record(index).keyword)) + ") has no " + args.positional()[1] +
                " face to show");
  }
  const std::string& out = args.positional()[2];
  if (qm::Status s = qm::WritePictureFile(out, face); !s) return Fail(s.why());
  std::printf("%s: %s face of record %zu (%d x %d)\n", out.c_str(), args.positional()[1].c_str(), index, face.width(),
              face.height());
  return kExitOk;
}

int Import(const Args& args) {
  qm::FaceKind kind;
  if (!ParseKind(args.positional()[1], &kind)) return args.Usage("the face is large or small");
  qm::FaceOptions options;  // the editor's defaults: bilinear, no crop, no ring, small face made too
  if (int rc = FaceOptionsFromArgs(args, &options); rc != kExitOk) return rc;
  HeroText text;
  Game game;
  size_t index = 0;
  if (int rc = OpenRecord(args, &text, &game, &index); rc != kExitOk) return rc;
  const bool large = kind == qm::FaceKind::kLarge;
  const std::string failed = EditorText(large ? qm::kMsgLoadLargeFailed : qm::kMsgLoadSmallFailed);
  const qm::HeroRecord& record = game.catalogue.record(index);
  // As the editor's Load button: only a record with the face flag of that size takes a face.
  if (!record.has_face(kind)) {
    return Fail(failed + " (record " + std::to_string(index) + ", " + qm::QuotedText(text.Utf8(record.keyword)) +
                ", holds no " + args.positional()[1] + " face)");
  }
  const std::string& path = args.positional()[2];
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

const Command kFace = {
    .name = "face",
    .summary = "export a hero's face as a picture, or import a picture into it",
    .details =
        "ID is a record number or a hero's keyword. The face options are those of the editor's\n"
        "option panel. A JPEG whose crop is at least four times the face is decoded at 1/2, 1/4\n"
        "or 1/8 of its size, keeping twice the face: much faster, and close to (not the same bits\n"
        "as) a full-size decode.\n",
    .subcommands =
        {
            {.name = "export",
             .summary = "writes the hero's face as the editor shows it (82 x 82 or 52 x 52), as PNG or BMP by "
                        "OUT's extension",
             .positionals = {{"ID"}, {"large|small"}, {"OUT.png|OUT.bmp"}},
             .groups = {kCodePageOption, kGameOptions},
             .run = Export},
            {.name = "import",
             .summary = "puts a JPEG, GIF, BMP or PNG picture into the face as the editor's Load button does, then "
                        "saves the catalogue into the working archive; only a record that holds a face of that "
                        "size takes a new one (\"dead\" and \"sleeping\" always do)",
             .positionals = {{"ID"}, {"large|small"}, {"PICTURE"}},
             .groups = {kResizeMethodOption, kFaceFitOptions, kFaceRangeOptions, kNoSmallCopyOption, kCodePageOption,
                        kGameOptions},
             .run = Import},
        },
};
QLMK_COMMAND(kFace);

}  // namespace
}  // namespace qlmk
