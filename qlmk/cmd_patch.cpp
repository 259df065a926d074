// qlmk patch: MakeSFX from the command line, and looking into and applying a patcher.
#include <cstdio>
#include <string>
#include <vector>

#include "base/replacement_file.h"
#include "archive/h4r_reader.h"
#include "archive/payload.h"
#include "archive/payload_codec.h"
#include "base/ascii.h"
#include "base/byte_cursor.h"
#include "base/path.h"
#include "heroes/catalogue_diff.h"
#include "heroes/catalogue_page.h"
#include "heroes/game_paths.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_sheet.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "patcher/patch_apply.h"
#include "qlmk/command.h"
#include "qlmk/entry_name.h"
#include "qlmk/game_context.h"
#include "qlmk/hero_text.h"
#include "qlmk/html_report.h"
#include "qlmk/json_text.h"
#include "qlmk/stub_program.h"
#include "resources/string_ids.h"
#include "shell/make_sfx.h"

namespace qlmk {
namespace {

int OpenPayload(const std::string& path, qm::PayloadReader* reader) {
  if (qm::Status s = qm::PayloadReader::Open(path, reader); !s) return Fail(path, s);
  return kExitOk;
}

// The content of a compressed payload record.
qm::Status RecordContent(qm::PayloadReader& reader, const qm::PayloadRecord& rec, std::vector<uint8_t>* content) {
  std::vector<uint8_t> blob;
  if (qm::Status s = reader.ReadBlob(rec, &blob); !s) return s;
  if (rec.content_size == 0) {
    *content = std::move(blob);
    return qm::Status::Ok();
  }
  return qm::DecodeStoredPayload(blob, rec.content_size, content);
}

bool IsBundle(const std::string& name) {
  for (uint8_t a = 1; a <= qm::kAlignmentCount; ++a) {
    for (qm::FaceKind kind : {qm::FaceKind::kSmall, qm::FaceKind::kLarge}) {
      if (qm::AsciiEqualNoCase(name, qm::BundleEntryName(a, kind))) return true;
    }
  }
  return false;
}

int Build(const Args& args) {
  const std::string& out = args.positional()[0];
  std::vector<uint8_t> stub;
  if (int rc = LoadStubProgram(args, kPatcherStub, &stub); rc != kExitOk) return rc;
  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  const size_t before = game.catalogue.count();
  if (qm::Status s = qm::BuildPatcher(&game.catalogue, stub, out); !s) {
    return Fail(out + ": " + EditorText(qm::kMsgPatcherFailed) + " (" + s.why() + ")");
  }
  if (game.catalogue.count() < before) {
    Warn("record " + std::to_string(before - 1) + " is not complete and was left out");
  }
  std::printf("%s: patcher with %zu entries, %zu records\n", out.c_str(), qm::kPatcherEntryCount,
              game.catalogue.count());
  return kExitOk;
}

// The heroes of the patch's table with the faces of its bundles, as one page.
int WritePatchGallery(qm::PayloadReader& reader, const std::vector<qm::HeroRecord>& heroes, const std::string& path,
                      const std::string& out, qm::CodePage page, bool tell) {
  qm::HeroCatalogue carried;
  if (qm::Status s = carried.Assign(heroes); !s) return Fail(path, s);
  size_t faces = 0, loose = 0;
  for (const qm::PayloadRecord& rec : reader.records()) {
    if (!IsBundle(rec.name)) continue;
    std::vector<uint8_t> bundle;
    if (qm::Status s = RecordContent(reader, rec, &bundle); !s) return Fail(path + ": '" + rec.name + "': " + s.why());
    const bool large = rec.name.find(".82.") != std::string::npos;
    const qm::BundleDistribution d =
        carried.DistributeBundle(bundle, large ? qm::FaceKind::kLarge : qm::FaceKind::kSmall);
    faces += d.walked;
    loose += d.unmatched;
  }
  std::vector<std::string> notes = {
      std::to_string(heroes.size() > qm::kFirstHeroRecord ? heroes.size() - qm::kFirstHeroRecord : 0) +
      " heroes in its table, " + std::to_string(faces) + " faces in its bundles"};
  if (heroes.empty()) notes.push_back("The patch carries no hero table, so only its faces' count is known.");
  if (loose) notes.push_back(std::to_string(loose) + " faces belong to no hero of the table and are not shown.");
  const qm::GalleryPage about{"Heroes carried by " + FileNameOf(path), notes};
  const std::string html =
      qm::GalleryHtml(carried, qm::SheetRowsOf(carried, page), about, qm::EmbeddedFaceAddress(carried));
  if (qm::Status s = qm::WriteWholeFile(out, html); !s) return Fail(s.why());
  if (tell) std::printf("wrote %s\n", out.c_str());
  return kExitOk;
}

int Show(const Args& args) {
  HeroText text;
  if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;
  const std::string& path = args.positional()[0];
  qm::PayloadReader reader;
  if (int rc = OpenPayload(path, &reader); rc != kExitOk) return rc;
  const bool json = args.Has("--json");
  std::vector<std::string> lines;  // one per record (JSON objects or text lines)
  std::vector<qm::HeroRecord> heroes;
  for (const qm::PayloadRecord& rec : reader.records()) {
    char extra_text[48] = "", extra_json[48] = "";
    std::vector<uint8_t> content;
    const bool table = qm::AsciiEqualNoCase(rec.name, qm::kHeroTableEntryName);
    if (table || IsBundle(rec.name)) {
      if (qm::Status s = RecordContent(reader, rec, &content); !s) return Fail(path + ": '" + rec.name + "': " + s.why());
    }
    if (table) {
      qm::ParseHeroTable(content, &heroes);
      const size_t count = heroes.size() > qm::kFirstHeroRecord ? heroes.size() - qm::kFirstHeroRecord : 0;
      std::snprintf(extra_text, sizeof extra_text, "\t%zu heroes", count);
      std::snprintf(extra_json, sizeof extra_json, ", \"heroes\": %zu", count);
    } else if (IsBundle(rec.name)) {
      const size_t faces = qm::ByteReader(content).ReadU16();  // 0 for a bundle cut short
      std::snprintf(extra_text, sizeof extra_text, "\t%zu faces", faces);
      std::snprintf(extra_json, sizeof extra_json, ", \"faces\": %zu", faces);
    }
    char head[256];
    if (json) {
      std::snprintf(head, sizeof head, "{\"slot\": %zu, \"name\": %s, \"data_offset\": %u, \"stored_size\": %u, "
                    "\"content_size\": %u", rec.slot, JsonString(rec.name).c_str(), rec.data_offset, rec.stored_size,
                    rec.content_size);
      lines.push_back(std::string(head) + extra_json + "}");
    } else {
      std::snprintf(head, sizeof head, "%zu\t%s\t%u\t%u\t%u", rec.slot, PlainName(rec.name).c_str(), rec.data_offset,
                    rec.stored_size, rec.content_size);
      lines.push_back(std::string(head) + extra_text);
    }
  }
  text.HintIfOtherPage(heroes);
  if (args.Has("--html")) {
    if (int rc = WritePatchGallery(reader, heroes, path, args.Value("--html"), text.page(), !json); rc != kExitOk) {
      return rc;
    }
  }
  if (json) {
    std::printf("{\"entries\": [");
    for (size_t i = 0; i < lines.size(); ++i) std::printf("%s\n  %s", i ? "," : "", lines[i].c_str());
    std::printf("\n], \"table\": [");
    for (size_t i = qm::kFirstHeroRecord; i < heroes.size(); ++i) {
      std::printf("%s\n  {\"record\": %zu, \"keyword\": %s, \"name\": %s}", i == qm::kFirstHeroRecord ? "" : ",", i,
                  text.Json(heroes[i].keyword).c_str(), text.Json(heroes[i].name).c_str());
    }
    std::printf("\n]}\n");
    return kExitOk;
  }
  std::printf("slot\tname\toffset\tstored\tcontent\n");
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  if (heroes.size() > qm::kFirstHeroRecord) {
    std::printf("\nrecord\tkeyword\tname\n");
    for (size_t i = qm::kFirstHeroRecord; i < heroes.size(); ++i) {
      std::printf("%zu\t%s\t%s\n", i, text.Line(heroes[i].keyword).c_str(), text.Line(heroes[i].name).c_str());
    }
  }
  return kExitOk;
}

// The catalogue the game would load after both kinds of the patch were applied: the patch's
// table (else the game's), with faces from the patch's bundles (else the game's own).
int PatchedCatalogue(const std::string& path, const Game& game, qm::HeroCatalogue* out) {
  qm::PayloadReader reader;
  if (int rc = OpenPayload(path, &reader); rc != kExitOk) return rc;
  std::vector<qm::HeroRecord> records;
  if (const qm::PayloadRecord* rec = reader.Find(qm::kHeroTableEntryName)) {
    std::vector<uint8_t> table;
    if (qm::Status s = RecordContent(reader, *rec, &table); !s) return Fail(path + ": table: " + s.why());
    if (!qm::ParseHeroTable(table, &records).ok()) return Fail(path + ": the patch's hero table holds no row");
  } else {
    records = game.catalogue.records();
    for (qm::HeroRecord& r : records) {
      r.large_face.clear();
      r.small_face.clear();
    }
  }
  if (qm::Status s = out->Assign(std::move(records)); !s) return Fail(path, s);
  for (uint8_t a = 1; a <= qm::kAlignmentCount; ++a) {
    for (qm::FaceKind kind : {qm::FaceKind::kSmall, qm::FaceKind::kLarge}) {
      const std::string name = qm::BundleEntryName(a, kind);
      std::vector<uint8_t> bundle;
      if (const qm::PayloadRecord* rec = reader.Find(name)) {
        if (qm::Status s = RecordContent(reader, *rec, &bundle); !s) return Fail(path + ": " + name + ": " + s.why());
      } else if (!qm::LoadEntry(game.paths.working_archive, name, &bundle) &&
                 !qm::LoadEntry(game.paths.base_archive, name, &bundle)) {
        continue;
      }
      out->DistributeBundle(bundle, kind);
    }
  }
  return kExitOk;
}

int Diff(const Args& args) {
  HeroText text;
  Game game;
  if (int rc = LoadGameWithText(args, &text, &game); rc != kExitOk) return rc;
  qm::HeroCatalogue patched;
  if (int rc = PatchedCatalogue(args.positional()[0], game, &patched); rc != kExitOk) return rc;
  text.HintIfOtherPage(patched.records());
  const qm::CatalogueDiff diff = qm::DiffCatalogues(game.catalogue.records(), patched.records());
  const std::string patch_name = FileNameOf(args.positional()[0]);
  const qm::DiffReportPage report{"What " + patch_name + " would change",
                                  {"The game's heroes now, and as both kinds of the patch would leave them."},
                                  "In the game now",
                                  "From the patch"};
  if (args.Has("--json")) {
    std::fputs(qm::CatalogueDiffJson(diff, text.page()).c_str(), stdout);
  } else {
    std::fputs(qm::CatalogueDiffText(diff, text.page()).c_str(), stdout);
    std::printf("%zu changes in %zu heroes\n", diff.LineCount(), diff.heroes.size());
  }
  return WriteHtmlReport(args, diff, game.catalogue, patched, text.page(), report);
}

int ApplyKind(const std::string& path, const std::string& folder, const std::string& target, qm::UpdateKind kind) {
  qm::ApplyReport report;
  const qm::Status s = qm::ApplyPatch(path, folder, target, kind, &report);
  for (const std::string& e : report.entries_put) std::printf("put %s into %s\n", e.c_str(), target.c_str());
  for (const std::string& f : report.files_written) std::printf("wrote %s\n", f.c_str());
  for (const std::string& f : report.files_kept) std::printf("kept %s (it exists)\n", f.c_str());
  for (const std::string& e : report.puts_failed) Warn("not put: " + e);
  if (!s) return Fail(s.why());
  return kExitOk;
}

int Apply(const Args& args) {
  const std::string& path = args.positional()[0];
  const std::string folder = qm::WithTrailingSeparator(args.Value("--game", "."));
  const float version = GameVersionOfFolder(folder);
  if (qm::VersionNeedsQuestion(version) && !args.Has("--yes")) {
    char text[160];
    std::snprintf(text, sizeof text, "%s: the game's version is %1.1f, below 1.3; give --yes to patch anyway",
                  folder.c_str(), static_cast<double>(version));
    return Fail(text);
  }
  const std::string target = qm::TargetArchiveForGame(folder);
  const bool text = args.Has("--text") || !args.Has("--portraits");
  const bool portraits = args.Has("--portraits") || !args.Has("--text");
  if (text) {
    if (int rc = ApplyKind(path, folder, target, qm::UpdateKind::kText); rc != kExitOk) return rc;
  }
  if (portraits) {
    if (int rc = ApplyKind(path, folder, target, qm::UpdateKind::kPortraits); rc != kExitOk) return rc;
  }
  std::printf("Successfully updated.\n");
  return kExitOk;
}

const Command kPatch = {
    .name = "patch",
    .summary = "build a patcher (MakeSFX), show it, compare it with a game, apply it",
    .subcommands =
        {
            {.name = "build",
             .summary = "writes the patcher the editor's MakeSFX writes: the patcher program with the game's hero "
                        "table and twelve portrait bundles appended (13 entries). A last hero that is not complete "
                        "is left out, as MakeSFX does",
             .positionals = {{"OUT.EXE"}},
             .groups = {kGameOptions, kPatcherStubOption},
             .run = Build},
            {.name = "show",
             .summary = "the patcher's payload: slot, name, sizes; the heroes of its table and the number of faces "
                        "in each bundle",
             .positionals = {{"PATCHER.EXE"}},
             .options = {{"--json", nullptr, "print the entries and the heroes as one JSON object"},
                         {"--html", "OUT.html",
                          "also write the heroes and faces the patch carries as one HTML page (faces included), "
                          "with a filter by name, keyword or biography, alignment, class and sex"}},
             .groups = {kCodePageOption},
             .run = Show},
            {.name = "diff",
             .summary = "what applying the patcher (both kinds) would change in the game: heroes changed field by "
                        "field, added or dropped",
             .positionals = {{"PATCHER.EXE"}},
             .options = {{"--json", nullptr, "print the changes as JSON"}},
             .groups = {kCodePageOption, kGameOptions, kHtmlReportOption},
             .run = Diff},
            {.name = "apply",
             .summary = "what the patcher's buttons do, without running it: puts the patch's entries into "
                        "DATA/UPDATES.H4R (else DATA/HEROES4.H4R). Other files the payload carries are written "
                        "into the game folder unless they exist; names that would leave the game folder fail the "
                        "update with nothing written",
             .positionals = {{"PATCHER.EXE"}},
             .options = {{"--text", nullptr,
                          "put the hero table (\"table.\" entries), as Update Text does; with neither --text nor "
                          "--portraits, both kinds"},
                         {"--portraits", nullptr,
                          "put the portrait bundles (\"layers.\" entries), as Update Portraits does"},
                         {"--yes", nullptr, "patch a game older than 1.3 too, which the patcher asks about"}},
             .groups = {kGameFolderOption},
             .run = Apply},
        },
};
QLMK_COMMAND(kPatch);

}  // namespace
}  // namespace qlmk
