// qlmk export: the whole catalogue as a folder for spreadsheets, image editors, scripts and
// version control (heroes.csv, heroes.json, faces/*.png); qlmk import brings it back.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/replacement_file.h"
#include "heroes/face_folder.h"
#include "heroes/hero_sheet.h"
#include "qlmk/command.h"
#include "qlmk/game_context.h"
#include "qlmk/sheet_options.h"

namespace qlmk {
namespace {

const std::string kUsage = std::string(
    "usage: qlmk export OUTDIR [--codepage N] [--game DIR] [--archive FILE]\n"
    "\n"
    "Writes every record of the catalogue into OUTDIR, a new or empty folder:\n"
    "  heroes.csv    one row per record (0 .. count-1): record, keyword, name, biography, sex,\n"
    "                class, alignment, allowed, read_only, has_large, has_small, role; UTF-8\n"
    "                with a byte order mark, RFC 4180 quoting; for spreadsheets\n"
    "  heroes.json   the same rows as an array of objects, for scripts\n"
    "  faces/        every face as <record>-<keyword>-large.png and -small.png, in its exact\n"
    "                colours; in the keyword, characters other than ASCII letters, digits, '-'\n"
    "                and '_' become '_'\n"
    "Records 0 (the table's header row), 1 and 2 (\"dead\", \"sleeping\") are marked in the role\n"
    "column. alignment, read_only, has_large, has_small and role are not read back by import.\n"
    "  --codepage N     the code page of the game's texts: 1252 (default, Western), 1251\n"
    "                   (Cyrillic) or 1250 (Central European)\n") + kGameOptionsHelp;

bool FolderIsEmptyOrMissing(const std::string& folder) {
  std::error_code ec;
  if (!std::filesystem::exists(folder, ec)) return !ec;
  return std::filesystem::is_directory(folder, ec) && std::filesystem::is_empty(folder, ec) && !ec;
}

qm::Status WriteTextFile(const std::string& path, const std::string& text) {
  qm::ReplacementFile out;
  if (qm::Status s = qm::ReplacementFile::Create(path, &out); !s) return qm::Status::Fail(path + ": " + s.why());
  if (!out.file().Write(text.data(), text.size())) return qm::Status::Fail(path + ": cannot write");
  if (qm::Status s = out.Commit(); !s) return qm::Status::Fail(path + ": " + s.why());
  return qm::Status::Ok();
}

int Export(const std::vector<std::string>& words) {
  Args args(words, {"--game", "--archive", "--codepage"});
  const char* usage = kUsage.c_str();
  if (args.help()) {
    std::fputs(usage, stdout);
    return kExitOk;
  }
  if (!args.error().empty()) return Usage(args.error(), usage);
  if (args.positional().size() != 1) return Usage("export needs one OUTDIR", usage);
  qm::CodePage page;
  if (!CodePageFromArgs(args, &page)) return Usage("--codepage takes 1252, 1251 or 1250", usage);
  const std::string& folder = args.positional()[0];
  if (!FolderIsEmptyOrMissing(folder)) {
    return Fail(folder + ": not an empty folder; export writes into a new or empty folder, so that no earlier "
                "export or edit is overwritten");
  }

  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  const std::string faces = folder + "/" + kFacesFolderName;
  std::error_code ec;
  std::filesystem::create_directories(faces, ec);
  if (ec) return Fail(faces + ": cannot create the folder (" + ec.message() + ")");

  const std::vector<qm::SheetRow> rows = qm::SheetRowsOf(game.catalogue, page);
  if (qm::Status s = WriteTextFile(folder + "/" + kSheetCsvName, qm::SheetCsv(rows)); !s) return Fail(s.why());
  if (qm::Status s = WriteTextFile(folder + "/" + kSheetJsonName, qm::SheetJson(rows)); !s) return Fail(s.why());
  qm::FaceExport exported;
  if (qm::Status s = qm::ExportFaces(game.catalogue, faces, &exported); !s) return Fail(s.why());
  for (const std::string& skipped : exported.skipped) Warn(skipped);
  std::printf("%s: %zu records (0 to %zu) in %s and %s, %zu faces in %s/\n", folder.c_str(), rows.size(),
              rows.size() - 1, kSheetCsvName, kSheetJsonName, exported.written, kFacesFolderName);
  return kExitOk;
}

QLMK_COMMAND("export", "write the whole catalogue as heroes.csv, heroes.json and faces/*.png", Export);

}  // namespace
}  // namespace qlmk
