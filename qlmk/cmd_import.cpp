// qlmk import: brings an exported folder (or any folder of pictures named after the heroes)
// back into the catalogue, through the editor's editing operations and face fitting, and
// saves once.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "heroes/catalogue_diff.h"
#include "heroes/face_folder.h"
#include "heroes/hero_sheet.h"
#include "qlmk/byte_io.h"
#include "qlmk/command.h"
#include "qlmk/face_loss_option.h"
#include "qlmk/face_options.h"
#include "qlmk/game_context.h"
#include "qlmk/hero_text.h"
#include "qlmk/html_report.h"
#include "qlmk/sheet_files.h"
#include "qlmk/terminal.h"

namespace qlmk {
namespace {

// Present at all: a sheet that is there but cannot be read is an error, not left out.
bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// Reads heroes.csv or heroes.json into rows; reports an unreadable or malformed file.
int ReadSheet(const std::string& path, const std::string& shown, bool json, std::vector<qm::SheetRow>* rows) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Fail(shown + ": not a file");
  std::vector<uint8_t> bytes;
  if (qm::Status s = ReadInputFile(path, &bytes); !s) return Fail(shown + ": " + s.why());
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const qm::Status s = json ? qm::ReadSheetJson(text, shown, rows) : qm::ReadSheetCsv(text, shown, rows);
  return s ? kExitOk : Fail(s.why());
}

struct Outcome {
  std::vector<std::string> refused, warnings, unmatched;
  size_t refused_for_face_loss = 0;
};

// Why the two forms of the sheet are not the same edit; empty when they are.
std::string Disagreement(const qm::CatalogueDiff& diff, const qm::SheetApply& csv, const qm::SheetApply& json) {
  if (!diff.empty()) return "at record " + std::to_string(diff.heroes.front().record);
  if (const qm::SheetRow* row = qm::RefusedOnlyIn(csv, json)) {
    return row->where + " is refused, and " + kSheetJsonName + " has no row like it";
  }
  if (const qm::SheetRow* row = qm::RefusedOnlyIn(json, csv)) {
    return row->where + " is refused, and " + kSheetCsvName + " has no row like it";
  }
  return "";
}

// The catalogue with the sheet's rows applied. With both files, each is applied to its own
// copy and the two results must be the same.
int ApplySheets(const std::string& dir, qm::CodePage page, qm::FaceLossRule face_loss, const qm::HeroCatalogue& current,
                qm::HeroCatalogue* proposed, Outcome* outcome) {
  const std::string csv = dir + "/" + kSheetCsvName, json = dir + "/" + kSheetJsonName;
  const bool has_csv = Exists(csv), has_json = Exists(json);
  std::vector<qm::SheetRow> rows;
  qm::SheetApply applied;
  if (has_csv) {
    if (int rc = ReadSheet(csv, kSheetCsvName, false, &rows); rc != kExitOk) return rc;
    qm::ApplySheet(rows, page, proposed, &applied, face_loss);
  }
  if (has_json) {
    std::vector<qm::SheetRow> json_rows;
    if (int rc = ReadSheet(json, kSheetJsonName, true, &json_rows); rc != kExitOk) return rc;
    qm::HeroCatalogue from_json = current;
    qm::SheetApply json_applied;
    qm::ApplySheet(json_rows, page, &from_json, &json_applied, face_loss);
    if (!has_csv) {
      *proposed = std::move(from_json);
      applied = std::move(json_applied);
    } else {
      const std::string where =
          Disagreement(qm::DiffCatalogues(proposed->records(), from_json.records()), applied, json_applied);
      if (!where.empty()) {
        return Fail(std::string(kSheetCsvName) + " and " + kSheetJsonName + " disagree (" + where +
                    "); keep the one you edited and delete the other");
      }
    }
  }
  outcome->refused = std::move(applied.refused);
  outcome->warnings = std::move(applied.warnings);
  outcome->refused_for_face_loss = applied.refused_for_face_loss;
  return kExitOk;
}

int Import(const Args& args) {
  HeroText text;
  if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;
  const qm::CodePage page = text.page();
  qm::FaceOptions options;
  options.small_face_copy = false;  // a folder's own small pictures stay unless --small-from-large
  if (int rc = FaceOptionsFromArgs(args, &options); rc != kExitOk) return rc;
  const bool dry_run = args.Has("--dry-run");
  const std::string& dir = args.positional()[0];

  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return Fail(dir + ": no such folder");

  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  text.HintIfOtherPage(game.catalogue.records());
  const qm::HeroCatalogue& current = game.catalogue;
  qm::HeroCatalogue proposed = current;
  Outcome outcome;
  const qm::FaceLossRule face_loss =
      args.Has("--allow-face-loss") ? qm::FaceLossRule::kAllow : qm::FaceLossRule::kRefuse;
  if (int rc = ApplySheets(dir, page, face_loss, current, &proposed, &outcome); rc != kExitOk) return rc;

  std::vector<qm::FolderFile> files, top;
  if (qm::Status s = qm::ListFolderFiles(dir + "/" + kFacesFolderName, std::string(kFacesFolderName) + "/", &files); !s) {
    return Fail(s.why());
  }
  if (qm::Status s = qm::ListFolderFiles(dir, "", &top); !s) return Fail(s.why());
  for (qm::FolderFile& f : top) {
    // Hidden files (.gitattributes, .gitignore, a desktop's own) are no pictures of heroes.
    if (f.name != kSheetCsvName && f.name != kSheetJsonName && f.name != kGalleryName && f.name.front() != '.') {
      files.push_back(std::move(f));
    }
  }
  qm::FaceMatch match;
  qm::MatchFacePictures(files, current, page, &match);
  outcome.refused.insert(outcome.refused.end(), match.refused.begin(), match.refused.end());
  const bool progress = StderrIsTerminal() && !match.pictures.empty();
  qm::FaceImport faces;
  qm::ImportFacePictures(current, match.pictures, options, &proposed, &faces, [&](size_t done, size_t total) {
    if (progress) std::fprintf(stderr, "\rfitting pictures: %zu of %zu", done, total);
  });
  if (progress) std::fputc('\n', stderr);
  outcome.refused.insert(outcome.refused.end(), faces.refused.begin(), faces.refused.end());

  for (const std::string& u : match.unmatched) Warn("not imported: " + u);
  for (const std::string& w : outcome.warnings) Warn(w);
  const qm::CatalogueDiff diff = qm::DiffCatalogues(current.records(), proposed.records());
  std::fputs(qm::CatalogueDiffText(diff, page).c_str(), stdout);
  const qm::DiffReportPage report{"What importing " + FileNameOf(dir) + " changes",
                                  {"The game's heroes now, and as the import leaves them."},
                                  "Now",
                                  "After the import"};
  if (int rc = WriteHtmlReport(args, diff, current, proposed, page, report); rc != kExitOk) return rc;
  for (const std::string& r : outcome.refused) std::fprintf(stderr, "qlmk: refused: %s\n", r.c_str());
  if (!outcome.refused.empty() && !args.Has("--skip-bad")) {
    const std::string allow =
        outcome.refused_for_face_loss == 0 ? "" : ", give --allow-face-loss to change classes that drop faces";
    return Fail(std::to_string(outcome.refused.size()) + " refused; nothing written (correct them" + allow +
                ", or give --skip-bad to apply the rest)");
  }
  std::printf("%zu changes in %zu heroes; pictures: %zu fitted, %zu equal to the current face%s\n", diff.LineCount(),
              diff.heroes.size(), faces.replaced, faces.unchanged,
              outcome.refused.empty() ? "" : (", " + std::to_string(outcome.refused.size()) + " refused and skipped").c_str());
  if (dry_run) {
    std::printf("dry run: nothing written\n");
    return kExitOk;
  }
  if (diff.empty()) {
    std::printf("nothing to change; the archive is left as it was\n");
    return kExitOk;
  }
  game.catalogue = std::move(proposed);
  return SaveGame(game);
}

const Command kImport = {
    .name = "import",
    .summary = "bring an exported folder (sheet and pictures) back into the catalogue, then save",
    .positionals = {{"DIR"}},
    .options = {{"--dry-run", nullptr, "print what would change, hero by hero and field by field; write nothing"},
                {"--skip-bad", nullptr, "apply the sound rows and pictures and skip the refused ones"}},
    .groups = {kCodePageOption, kAllowFaceLossOption, kResizeMethodOption, kFaceFitOptions, kSmallFromLargeOption,
               kHtmlReportOption, kGameOptions},
    .details =
        "Reads DIR as qlmk export writes it and changes what differs, then saves the catalogue once.\n"
        "  heroes.csv or heroes.json (one of them; when both are there they must agree): name,\n"
        "      biography, sex, class and allowed of each row's record. keyword must be the record's\n"
        "      own; rows may be left out. Read-only records, unknown values and over-long texts are\n"
        "      refused, each with its row; so is a class without a portrait bundle (generic) for a\n"
        "      hero with faces, which saving would drop, unless --allow-face-loss is given. The CSV\n"
        "      may separate its fields with commas, semicolons or tabs, as its header row does.\n"
        "  pictures in DIR/faces and DIR: <record>-<keyword>-large.png / -small.png as exported, or\n"
        "      <keyword>.png|.jpg|.gif|.bmp (large face) and <keyword>-small.<ext> (small face),\n"
        "      keywords matched without regard to case; a picture named by keyword is taken over the\n"
        "      exported file for the same face. A picture equal to the current face is left alone;\n"
        "      any other is fitted into the face as `qlmk face import` does. Files that match no\n"
        "      hero are listed; hidden files (.gitattributes) are passed over.\n"
        "When anything is refused nothing is written, unless --skip-bad is given.\n",
    .run = Import,
};
QLMK_COMMAND(kImport);

}  // namespace
}  // namespace qlmk
