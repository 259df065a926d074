#include "qlmk/game_context.h"

#include <cstdio>

#include "base/quoted_text.h"
#include "heroes/hero_table.h"
#include "resources/string_ids.h"
#include "shell/language.h"
#include "shell/program_strings.h"

namespace qlmk {

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

void Warn(const std::string& message) { std::fprintf(stderr, "qlmk: warning: %s\n", message.c_str()); }

std::string EditorText(uint32_t id) {
  static qm::Language language(qm::LookupEditorString);
  return language.Text(id);
}

qm::GamePaths GamePathsFromArgs(const Args& args) {
  qm::GamePaths paths = qm::GamePathsForFolder(args.Value("--game"));
  if (args.Has("--archive")) paths.working_archive = args.Value("--archive");
  return paths;
}

int LoadGame(const Args& args, Game* game) {
  game->paths = GamePathsFromArgs(args);
  qm::CatalogueLoad load;
  const qm::Status status = game->catalogue.Load(game->paths, &load, [](const qm::OverlongValue& v) {
    Warn("record " + std::to_string(v.record) + ": " + EditorText(v.message_id) + " (" + std::to_string(v.length) +
         " characters, first ones kept)");
  });
  if (game->catalogue.empty()) {
    const std::string where = game->paths.working_archive.empty() ? game->paths.game_folder : game->paths.working_archive;
    return Fail(where + ": " + EditorText(qm::kMsgNoGameData) + " (" + status.why() + ")");
  }
  if (load.parse.truncated) Warn(load.table_source + ": the hero table ends before its last stated row");
  if (load.parse.capped) Warn(load.table_source + ": the hero table holds more rows than the editor's 1000 records");
  for (const qm::BundleLoad& b : load.bundles) {
    if (b.source.empty()) Warn("portrait bundle \"" + b.name + "\" is in neither the working nor the base archive");
    if (b.distribution.damaged) {
      Warn(b.source + ": portrait bundle \"" + b.name + "\" is damaged after " +
           std::to_string(b.distribution.walked) + " of its " + std::to_string(b.distribution.declared) + " images");
    }
  }
  return kExitOk;
}

int LoadGameWithText(const Args& args, HeroText* text, Game* game) {
  if (int rc = HeroText::FromArgs(args, text); rc != kExitOk) return rc;
  return LoadGame(args, game);
}

int ResolveRecord(const qm::HeroCatalogue& catalogue, const HeroText& text, const std::string& id, size_t* index) {
  long long n = -1;
  if (AllDigits(id)) {
    n = std::stoll(id);
  } else {
    std::string keyword;
    if (text.StoredKeyword(id, &keyword)) n = catalogue.FindByKeyword(keyword);
    if (n < 0) return Fail("no hero has the keyword " + qm::QuotedText(id));
  }
  if (n == static_cast<long long>(qm::kHeaderRecord)) return Fail("record 0 is the hero table's header row, not a hero");
  if (n >= static_cast<long long>(catalogue.count())) {
    return Fail("no record " + id + " (the catalogue holds records 1 to " + std::to_string(catalogue.count() - 1) + ")");
  }
  *index = static_cast<size_t>(n);
  return kExitOk;
}

int SaveGame(const Game& game) {
  qm::CatalogueSave report;
  const qm::Status s = game.catalogue.Save(game.paths.working_archive, &report);
  if (!s) {
    const std::string where = game.paths.working_archive.empty() ? game.paths.game_folder : "";
    return Fail(where + (where.empty() ? "" : ": ") + EditorText(qm::kMsgSaveFailed) + " (" + s.why() + ")");
  }
  std::printf("%s\n", EditorText(qm::kMsgSaved).c_str());
  return kExitOk;
}

}  // namespace qlmk
