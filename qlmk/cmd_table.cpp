// qlmk table: the hero table "table.heroes.h4d" from a file or from an archive.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive/h4r_reader.h"
#include "base/file.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "qlmk/command.h"
#include "qlmk/hero_text.h"
#include "qlmk/json_text.h"
#include "shell/language.h"
#include "shell/program_strings.h"

namespace qlmk {
namespace {

// Files larger than this are not hero tables; refuse them before reading.
constexpr uint64_t kMaxTableFileBytes = 256u << 20;

qm::Status ReadTableFile(const std::string& path, std::vector<uint8_t>* bytes) {
  switch (qm::ReadWholeFile(path, kMaxTableFileBytes, bytes)) {
    case qm::ReadWholeResult::kOk: return qm::Status::Ok();
    case qm::ReadWholeResult::kCannotOpen: return qm::Status::Fail(std::strerror(errno));
    case qm::ReadWholeResult::kTooLarge: return qm::Status::Fail("file too large for a hero table");
    case qm::ReadWholeResult::kNoMemory: return qm::Status::Fail("not enough memory to read it");
    case qm::ReadWholeResult::kReadFailed: break;
  }
  return qm::Status::Fail("read failed");
}

void Warn(const std::string& source, const std::string& message) {
  std::fprintf(stderr, "qlmk: warning: %s: %s\n", source.c_str(), message.c_str());
}

std::string AllowedText(const qm::HeroRecord& r) { return r.allowed_by ? "X" : ""; }

void PrintPlain(const std::vector<qm::HeroRecord>& records, const HeroText& text) {
  std::printf("record\tkeyword\tname\tsex\tclass\tbiography\tallowed by\textra\n");
  for (size_t i = 0; i < records.size(); ++i) {
    if (i == qm::kDeadRecord || i == qm::kSleepingRecord) continue;
    const qm::HeroRecord& r = records[i];
    std::printf("%zu\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", i, text.Line(r.keyword).c_str(), text.Line(r.name).c_str(),
                std::string(qm::TokenOfId(qm::kSexTable, r.sex)).c_str(),
                std::string(qm::TokenOfId(qm::kClassTable, r.hero_class)).c_str(), text.Line(r.biography).c_str(),
                AllowedText(r).c_str(), text.Line(r.extra).c_str());
  }
}

void PrintJson(const std::vector<qm::HeroRecord>& records, const qm::HeroTableParse& parse, const HeroText& text) {
  std::printf("{\"rows_declared\": %u, \"rows_read\": %zu, \"truncated\": %s, \"capped\": %s,\n",
              parse.rows_declared, parse.rows_read, parse.truncated ? "true" : "false",
              parse.capped ? "true" : "false");
  std::printf(" \"records\": [");
  bool first = true;
  for (size_t i = 0; i < records.size(); ++i) {
    if (i == qm::kDeadRecord || i == qm::kSleepingRecord) continue;
    const qm::HeroRecord& r = records[i];
    std::printf(
        "%s\n  {\"record\": %zu, \"keyword\": %s, \"name\": %s, \"sex\": %s, \"class\": %s, "
        "\"biography\": %s, \"allowed_by\": %s, \"extra\": %s, \"read_only\": %s}",
        first ? "" : ",", i, text.Json(r.keyword).c_str(), text.Json(r.name).c_str(),
        JsonString(qm::TokenOfId(qm::kSexTable, r.sex)).c_str(),
        JsonString(qm::TokenOfId(qm::kClassTable, r.hero_class)).c_str(), text.Json(r.biography).c_str(),
        JsonString(AllowedText(r)).c_str(), text.Json(r.extra).c_str(), r.read_only() ? "true" : "false");
    first = false;
  }
  std::printf("\n ]}\n");
}

int Dump(const Args& args) {
  HeroText text;
  if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;
  const std::string archive = args.Value("--archive");
  std::string source;
  std::vector<uint8_t> bytes;
  if (!archive.empty()) {
    source = archive + ":" + qm::kHeroTableEntryName;
    if (qm::Status s = qm::LoadEntry(archive, qm::kHeroTableEntryName, &bytes); !s) {
      return Fail(archive + ": " + qm::kHeroTableEntryName + ": " + s.why());
    }
  } else {
    source = args.positional()[0];
    if (qm::Status s = ReadTableFile(source, &bytes); !s) return Fail(source, s);
  }

  // Over-length messages in the editor's words, as its message boxes would show them.
  qm::Language language(qm::LookupEditorString);
  std::vector<qm::HeroRecord> records;
  const qm::HeroTableParse parse = qm::ParseHeroTable(bytes, &records, [&](const qm::OverlongValue& v) {
    Warn(source, "record " + std::to_string(v.record) + ": " + language.Text(v.message_id) + " (" +
                     std::to_string(v.length) + " characters, first ones kept)");
  });
  if (parse.truncated) {
    Warn(source, "the table states " + std::to_string(parse.rows_declared) + " rows but its data ends after " +
                     std::to_string(parse.rows_read) + " complete rows");
  }
  if (parse.capped) {
    Warn(source, "the table states " + std::to_string(parse.rows_declared) + " rows; only the first " +
                     std::to_string(parse.rows_read) + " fit the editor's " +
                     std::to_string(qm::kMaxHeroRecords) + " records");
  }
  if (parse.extra_columns) {
    Warn(source, std::to_string(parse.extra_columns) + " column(s) beyond the seventh skipped");
  }
  if (!parse.ok()) return Fail(source + ": no row of the hero table could be read");

  text.HintIfOtherPage(records);
  if (args.Has("--json")) {
    PrintJson(records, parse, text);
  } else {
    PrintPlain(records, text);
  }
  return kExitOk;
}

const Command kTable = {
    .name = "table",
    .summary = "dump the hero table from a file or an archive",
    .details =
        "Columns: keyword, name, sex, class, biography, allowed by, extra; unknown sex and class\n"
        "tokens show as empty, as the editor would write them. Over-long values and damaged\n"
        "tables are reported as warnings on stderr.\n",
    .subcommands =
        {
            {.name = "dump",
             .summary = "prints the hero table (the content of the archive entry \"table.heroes.h4d\") the way the "
                        "editor reads it: the header row as record 0, then one row per hero, numbered as the "
                        "editor numbers them (from 3; 1 and 2 are the pseudo-heroes \"dead\" and \"sleeping\")",
             .positionals = {{"TABLE_FILE"}},
             .options = {{.name = "--archive",
                          .value = "ARCHIVE",
                          .help = "load the table from the H4R archive ARCHIVE",
                          .instead_of_positionals = true},
                         {"--json", nullptr, "print the table as one JSON object"}},
             .groups = {kCodePageOption},
             .run = Dump},
        },
};
QLMK_COMMAND(kTable);

}  // namespace
}  // namespace qlmk
