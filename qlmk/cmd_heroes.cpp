// qlmk heroes, show, set: the hero catalogue as the editor shows and edits it.
#include <cstdio>
#include <string>
#include <vector>

#include "base/quoted_text.h"
#include "heroes/face_loss.h"
#include "heroes/hero_catalogue.h"
#include "heroes/value_tables.h"
#include "qlmk/command.h"
#include "qlmk/face_loss_option.h"
#include "qlmk/game_context.h"
#include "qlmk/hero_text.h"
#include "qlmk/json_text.h"

namespace qlmk {
namespace {

std::string Token(qm::ValueTable table, uint32_t id) { return std::string(qm::TokenOfId(table, id)); }

std::string AlignmentToken(const qm::HeroRecord& r) {
  return Token(qm::kAlignmentTable, qm::AlignmentOfClass(r.hero_class));
}

const char* YesNo(bool v) { return v ? "yes" : "no"; }
const char* JsonBool(bool v) { return v ? "true" : "false"; }

int ListHeroes(const Args& args) {
  HeroText text;
  Game game;
  if (int rc = LoadGameWithText(args, &text, &game); rc != kExitOk) return rc;
  const auto& records = game.catalogue.records();
  text.HintIfOtherPage(records);
  if (args.Has("--json")) {
    std::printf("[");
    for (size_t i = qm::kDeadRecord; i < records.size(); ++i) {
      const qm::HeroRecord& r = records[i];
      std::printf(
          "%s\n {\"record\": %zu, \"keyword\": %s, \"name\": %s, \"sex\": %s, \"class\": %s, "
          "\"alignment\": %s, \"allowed\": %s, \"read_only\": %s, \"has_large\": %s, \"has_small\": %s}",
          i == qm::kDeadRecord ? "" : ",", i, text.Json(r.keyword).c_str(), text.Json(r.name).c_str(),
          JsonString(Token(qm::kSexTable, r.sex)).c_str(), JsonString(Token(qm::kClassTable, r.hero_class)).c_str(),
          JsonString(AlignmentToken(r)).c_str(), JsonBool(r.allowed_by != 0), JsonBool(r.read_only()),
          JsonBool(r.has_large()), JsonBool(r.has_small()));
    }
    std::printf("\n]\n");
    return kExitOk;
  }
  std::printf("record\tkeyword\tname\tsex\tclass\talignment\tallowed\tread-only\tlarge\tsmall\n");
  for (size_t i = qm::kDeadRecord; i < records.size(); ++i) {
    const qm::HeroRecord& r = records[i];
    std::printf("%zu\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", i, text.Line(r.keyword).c_str(), text.Line(r.name).c_str(),
                Token(qm::kSexTable, r.sex).c_str(), Token(qm::kClassTable, r.hero_class).c_str(),
                AlignmentToken(r).c_str(), YesNo(r.allowed_by != 0), YesNo(r.read_only()), YesNo(r.has_large()),
                YesNo(r.has_small()));
  }
  return kExitOk;
}

int Show(const Args& args) {
  HeroText text;
  Game game;
  if (int rc = LoadGameWithText(args, &text, &game); rc != kExitOk) return rc;
  text.HintIfOtherPage(game.catalogue.records());
  size_t index = 0;
  if (int rc = ResolveRecord(game.catalogue, text, args.positional_text()[0], &index); rc != kExitOk) return rc;
  const qm::HeroRecord& r = game.catalogue.record(index);
  const bool complete = game.catalogue.IsComplete(index);
  if (args.Has("--json")) {
    std::printf(
        "{\"record\": %zu, \"keyword\": %s, \"name\": %s, \"sex\": %s, \"class\": %s, \"alignment\": %s,\n"
        " \"allowed\": %s, \"read_only\": %s, \"has_large\": %s, \"has_small\": %s,\n"
        " \"large_face_bytes\": %zu, \"small_face_bytes\": %zu, \"complete\": %s,\n"
        " \"biography\": %s,\n \"extra\": %s}\n",
        index, text.Json(r.keyword).c_str(), text.Json(r.name).c_str(), JsonString(Token(qm::kSexTable, r.sex)).c_str(),
        JsonString(Token(qm::kClassTable, r.hero_class)).c_str(), JsonString(AlignmentToken(r)).c_str(),
        JsonBool(r.allowed_by != 0), JsonBool(r.read_only()), JsonBool(r.has_large()), JsonBool(r.has_small()),
        r.large_face.size(), r.small_face.size(), JsonBool(complete), text.Json(r.biography).c_str(),
        text.Json(r.extra).c_str());
    return kExitOk;
  }
  std::printf(
      "record:     %zu\nkeyword:    %s\nname:       %s\nsex:        %s\nclass:      %s\n"
      "alignment:  %s\nallowed:    %s\nread-only:  %s\nlarge face: %s (%zu bytes)\n"
      "small face: %s (%zu bytes)\ncomplete:   %s\nbiography:  %s\nextra:      %s\n",
      index, text.Line(r.keyword).c_str(), text.Line(r.name).c_str(), Token(qm::kSexTable, r.sex).c_str(),
      Token(qm::kClassTable, r.hero_class).c_str(), AlignmentToken(r).c_str(), YesNo(r.allowed_by != 0),
      YesNo(r.read_only()), YesNo(r.has_large()), r.large_face.size(), YesNo(r.has_small()), r.small_face.size(),
      YesNo(complete), text.Line(r.biography).c_str(), text.Line(r.extra).c_str());
  return kExitOk;
}

int Set(const Args& args) {
  const bool any = args.Has("--name") || args.Has("--bio") || args.Has("--sex") || args.Has("--class") ||
                   args.Has("--allowed");
  if (!any) return args.Usage("nothing to set");

  // Check every value before anything changes: texts in the game's code page, within the
  // editor's limits in stored bytes.
  HeroText text;
  if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;
  std::string name, bio;
  if (args.Has("--name")) {
    if (int rc = text.Store(args, "--name", "name", qm::kNameMaxChars, &name); rc != kExitOk) return rc;
  }
  if (args.Has("--bio")) {
    if (int rc = text.Store(args, "--bio", "biography", qm::kBiographyMaxChars, &bio); rc != kExitOk) return rc;
  }
  uint32_t sex = 0, hero_class = 0;
  if (args.Has("--sex") && (sex = qm::IdOfToken(qm::kSexTable, args.Value("--sex"))) == 0) {
    return args.Usage("unknown sex '" + args.Value("--sex") + "' (male or female)");
  }
  if (args.Has("--class") && (hero_class = qm::IdOfToken(qm::kClassTable, args.Value("--class"))) == 0) {
    return args.Usage("unknown class '" + args.Value("--class") + "'");
  }
  const std::string allowed = args.Value("--allowed");
  if (args.Has("--allowed") && allowed != "yes" && allowed != "no") return args.Usage("--allowed takes yes or no");

  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  text.HintIfOtherPage(game.catalogue.records());
  size_t index = 0;
  if (int rc = ResolveRecord(game.catalogue, text, args.positional_text()[0], &index); rc != kExitOk) return rc;
  qm::HeroCatalogue& c = game.catalogue;
  if (c.record(index).read_only()) {
    return Fail("record " + std::to_string(index) + " (" + qm::QuotedText(text.Utf8(c.record(index).keyword)) +
                ") is read-only: its texts, sex, class and Allowed By cannot be changed");
  }
  const qm::FaceLoss loss =
      args.Has("--class") ? qm::FacesLostByClass(c.record(index), static_cast<uint8_t>(hero_class)) : qm::FaceLoss{};
  const std::string lost =
      "class " + args.Value("--class") + " has no portrait bundle, so saving drops the hero's " + loss.Text();
  if (loss.any() && !args.Has("--allow-face-loss")) {
    return Fail("record " + std::to_string(index) + " (" + qm::QuotedText(text.Utf8(c.record(index).keyword)) +
                "): " + lost + "; give --allow-face-loss to change it anyway");
  }
  qm::Status s = qm::Status::Ok();
  if (s && args.Has("--name")) s = c.SetName(index, name);
  if (s && args.Has("--bio")) s = c.SetBiography(index, bio);
  if (s && args.Has("--sex")) s = c.SetSex(index, static_cast<uint8_t>(sex));
  if (s && args.Has("--class")) s = c.SetClass(index, static_cast<uint8_t>(hero_class));
  if (s && args.Has("--allowed")) s = c.SetAllowedBy(index, allowed == "yes");
  if (!s) return Fail(s.why());
  if (loss.any()) Warn(lost);
  return SaveGame(game);
}

const Command kHeroes = {
    .name = "heroes",
    .summary = "list the heroes of a game's catalogue",
    .options = {{"--json", nullptr, "print the records as a JSON array"}},
    .groups = {kCodePageOption, kGameOptions},
    .details =
        "Lists every record the editor shows (1 .. count-1; 1 and 2 are the pseudo-heroes \"dead\"\n"
        "and \"sleeping\"): number, keyword, name, sex, class, alignment, allowed, read-only and\n"
        "whether it holds a large and a small face slot.\n",
    .run = ListHeroes,
};
QLMK_COMMAND(kHeroes);

const Command kShow = {
    .name = "show",
    .summary = "show every field of one hero",
    .positionals = {{"ID"}},
    .options = {{"--json", nullptr, "print the record as a JSON object"}},
    .groups = {kCodePageOption, kGameOptions},
    .details = "Shows every field of one record. ID is a record number or a hero's keyword.\n",
    .run = Show,
};
QLMK_COMMAND(kShow);

const Command kSet = {
    .name = "set",
    .summary = "change a hero's name, biography, sex, class or Allowed By, then save",
    .positionals = {{"ID"}},
    .options = {{"--name", "TEXT", "the hero's name, at most 64 characters of the code page"},
                {"--bio", "TEXT", "the biography, at most 512 characters of the code page"},
                {"--sex", "male|female", "the hero's sex"},
                {"--class", "TOKEN",
                 "generic, archer, barbarian, knight, priest, druid, mage, lord, necromancer, sorcerer, thief or "
                 "death_knight"},
                {"--allowed", "yes|no", "the game's Allowed By mark"}},
    .groups = {kCodePageOption, kAllowFaceLossOption, kGameOptions},
    .details =
        "Changes one hero and saves the catalogue into the working archive (the hero table and all\n"
        "twelve portrait bundles). ID is a record number or a hero's keyword. Read-only records\n"
        "(\"dead\", \"sleeping\", heroes without a keyword) cannot be changed. A class without a\n"
        "portrait bundle (generic) would lose the hero's faces, so changing a hero with faces to it\n"
        "needs --allow-face-loss.\n"
        "Texts are UTF-8 and stored in the game's code page (--codepage); a letter the code page\n"
        "cannot hold is refused and nothing is changed.\n",
    .run = Set,
};
QLMK_COMMAND(kSet);

}  // namespace
}  // namespace qlmk
