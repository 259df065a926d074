// qlmk export: the whole catalogue as a folder for spreadsheets, image editors, scripts and
// version control (heroes.csv, heroes.json, faces/*.png); qlmk import brings it back.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/replacement_file.h"
#include "heroes/catalogue_page.h"
#include "heroes/face_folder.h"
#include "heroes/hero_sheet.h"
#include "qlmk/command.h"
#include "qlmk/game_context.h"
#include "qlmk/hero_text.h"
#include "qlmk/sheet_files.h"

namespace qlmk {
namespace {

// Git converts line ends of files it takes for text (core.autocrlf, eol), which would change
// the CRLF record ends and the line breaks inside biographies on the way through a repository.
constexpr const char* kGitAttributes =
    "# Written by qlmk export: keeps the sheets byte for byte (no line-end conversion) and the\n"
    "# pictures as binary files.\n"
    "heroes.csv -text\n"
    "heroes.json -text\n"
    "*.png binary\n"
    "*.jpg binary\n"
    "*.jpeg binary\n"
    "*.gif binary\n"
    "*.bmp binary\n";

bool FolderIsEmptyOrMissing(const std::string& folder) {
  std::error_code ec;
  if (!std::filesystem::exists(folder, ec)) return !ec;
  return std::filesystem::is_directory(folder, ec) && std::filesystem::is_empty(folder, ec) && !ec;
}

int Export(const Args& args) {
  HeroText text;
  if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;
  const qm::CodePage page = text.page();
  const std::string& folder = args.positional()[0];
  if (!FolderIsEmptyOrMissing(folder)) {
    return Fail(folder + ": not an empty folder; export writes into a new or empty folder, so that no earlier "
                "export or edit is overwritten");
  }

  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  text.HintIfOtherPage(game.catalogue.records());
  const std::string faces = folder + "/" + kFacesFolderName;
  std::error_code ec;
  std::filesystem::create_directories(faces, ec);
  if (ec) return Fail(faces + ": cannot create the folder (" + ec.message() + ")");

  const std::vector<qm::SheetRow> rows = qm::SheetRowsOf(game.catalogue, page);
  if (qm::Status s = qm::WriteWholeFile(folder + "/" + kSheetCsvName, qm::SheetCsv(rows)); !s) return Fail(s.why());
  if (qm::Status s = qm::WriteWholeFile(folder + "/" + kSheetJsonName, qm::SheetJson(rows)); !s) return Fail(s.why());
  if (qm::Status s = qm::WriteWholeFile(folder + "/" + kGitAttributesName, kGitAttributes); !s) return Fail(s.why());
  qm::FaceExport exported;
  if (qm::Status s = qm::ExportFaces(game.catalogue, faces, &exported); !s) return Fail(s.why());
  for (const std::string& skipped : exported.skipped) Warn(skipped);
  const qm::GalleryPage gallery{
      "Hero catalogue",
      {std::to_string(rows.size()) + " records, " + std::to_string(exported.written) + " faces, exported by qlmk"}};
  const std::string html = qm::GalleryHtml(game.catalogue, rows, gallery,
                                           qm::ExportedFaceAddress(game.catalogue, exported, kFacesFolderName));
  if (qm::Status s = qm::WriteWholeFile(folder + "/" + kGalleryName, html); !s) return Fail(s.why());
  std::printf("%s: %zu records (0 to %zu) in %s and %s, %zu faces in %s/, the gallery in %s\n", folder.c_str(),
              rows.size(), rows.size() - 1, kSheetCsvName, kSheetJsonName, exported.written, kFacesFolderName,
              kGalleryName);
  return kExitOk;
}

const Command kExport = {
    .name = "export",
    .summary = "write the whole catalogue as heroes.csv, heroes.json, faces/*.png and an index.html gallery",
    .positionals = {{"OUTDIR"}},
    .groups = {kCodePageOption, kGameOptions},
    .details =
        "Writes every record of the catalogue into OUTDIR, a new or empty folder:\n"
        "  heroes.csv    one row per record (0 .. count-1): record, keyword, name, biography, sex,\n"
        "                class, alignment, allowed, read_only, has_large, has_small, role; UTF-8\n"
        "                with a byte order mark, RFC 4180 quoting; for spreadsheets\n"
        "  heroes.json   the same rows as an array of objects, for scripts\n"
        "  faces/        every face as <record>-<keyword>-large.png and -small.png, in its exact\n"
        "                colours; in the keyword, characters other than ASCII letters, digits, '-'\n"
        "                and '_' become '_'\n"
        "  index.html    every record as a card with both faces (linked from faces/) and its texts, with a\n"
        "                filter by name, keyword or biography, alignment, class and sex, also from the\n"
        "                address: index.html#q=talia&class=archer; opens in any browser, needs no network\n"
        "  .gitattributes  keeps heroes.csv and heroes.json byte for byte and the pictures binary\n"
        "                when the folder is committed to git\n"
        "Records 0 (the table's header row), 1 and 2 (\"dead\", \"sleeping\") are marked in the role\n"
        "column. alignment, read_only, has_large, has_small and role are not read back by import.\n",
    .run = Export,
};
QLMK_COMMAND(kExport);

}  // namespace
}  // namespace qlmk
