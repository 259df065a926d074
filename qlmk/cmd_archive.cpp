// qlmk archive: create, list, read, write, compact and check H4R archives.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "archive/h4r_reader.h"
#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/os.h"
#include "qlmk/byte_io.h"
#include "qlmk/command.h"
#include "qlmk/entry_name.h"
#include "qlmk/json_text.h"

namespace qlmk {
namespace {

std::string UtcTime(uint32_t stamp) {
  const std::time_t t = static_cast<std::time_t>(stamp);
  const std::tm* tm = std::gmtime(&t);
  if (!tm) return std::to_string(stamp);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", tm);
  return text;
}

// Opens the archive for reading and reads its directory.
int ReadDirectoryOf(const std::string& path, qm::Archive* archive, qm::Directory* directory) {
  if (qm::Status s = qm::Archive::Open(path, qm::Archive::Access::kRead, archive); !s) return Fail(path, s);
  if (qm::Status s = archive->ReadDirectory(directory); !s) return Fail(path, s);
  return kExitOk;
}

int Create(const Args& args) {
  const std::string& path = args.positional()[0];
  if (qm::os::FileExists(path) && !args.Has("--force")) {
    return Fail(path + ": the file exists (use --force to overwrite it)");
  }
  if (qm::Status s = qm::CreateArchive(path); !s) return Fail(path, s);
  return kExitOk;
}

void PrintPlain(const qm::Directory& d) {
  std::printf("name\tstored\tcontent\ttime\tword\toffset\n");
  for (const qm::FoundEntry& e : d.entries) {
    const qm::EntryRecord& r = e.record;
    std::printf("%s\t%u\t%u\t%s\t%u\t%u", PlainName(r.name).c_str(), r.stored_size, r.content_size,
                UtcTime(r.time_stamp).c_str(), r.trailing_word, r.data_offset);
    if (!r.second.empty()) std::printf("\tsecond=%s", OneLineText(r.second).c_str());
    if (!r.third.empty()) std::printf("\tthird=%s", OneLineText(r.third).c_str());
    std::printf("\n");
  }
}

void PrintJson(const qm::Directory& d) {
  std::printf("{\"directory_offset\": %u, \"count\": %u, \"entries\": [", d.offset, d.count);
  bool first = true;
  for (const qm::FoundEntry& e : d.entries) {
    const qm::EntryRecord& r = e.record;
    std::printf(
        "%s\n  {\"name\": %s, \"stored_size\": %u, \"content_size\": %u, \"time_stamp\": %u, "
        "\"trailing_word\": %u, \"data_offset\": %u, \"second\": %s, \"third\": %s}",
        first ? "" : ",", JsonString(r.name).c_str(), r.stored_size, r.content_size, r.time_stamp, r.trailing_word,
        r.data_offset, JsonString(r.second).c_str(), JsonString(r.third).c_str());
    first = false;
  }
  std::printf("\n]}\n");
}

void WarnCountOutOfRange(const std::string& path, const qm::Directory& d) {
  if (d.count >= qm::kEntryCountLimit) {
    std::fprintf(stderr, "qlmk: warning: %s: the directory count %u is out of range; the game sees no entries\n",
                 path.c_str(), d.count);
  }
}

int List(const Args& args) {
  const std::string& path = args.positional()[0];
  qm::Archive archive;
  qm::Directory directory;
  if (int rc = ReadDirectoryOf(path, &archive, &directory); rc != kExitOk) return rc;
  WarnCountOutOfRange(path, directory);
  if (args.Has("--json")) {
    PrintJson(directory);
  } else {
    PrintPlain(directory);
  }
  return kExitOk;
}

int Get(const Args& args) {
  const std::string& path = args.positional()[0];
  const std::string& name = args.positional()[1];
  std::vector<uint8_t> content;
  if (qm::Status s = qm::LoadEntry(path, name, &content); !s) return Fail(path, s);
  return WriteCommandOutput(args.Value("-o"), content);
}

int Put(const Args& args) {
  const std::string& path = args.positional()[0];
  const std::string& name = args.positional()[1];
  std::vector<uint8_t> content;
  if (int rc = ReadInput(args.positional()[2], &content); rc != kExitOk) return rc;
  if (qm::Status s = qm::PutEntry(path, name, content, qm::kNewEntryTrailingWord); !s) return Fail(path, s);
  return kExitOk;
}

int Wipe(const Args& args) {
  const std::string& path = args.positional()[0];
  if (qm::Status s = qm::WipeArchive(path); !s) return Fail(path, s);
  return kExitOk;
}

int Verify(const Args& args) {
  const std::string& path = args.positional()[0];
  qm::Archive archive;
  qm::Directory directory;
  if (int rc = ReadDirectoryOf(path, &archive, &directory); rc != kExitOk) return rc;
  if (directory.count >= qm::kEntryCountLimit) {
    return Fail(path + ": the directory count " + std::to_string(directory.count) +
                " is out of range; the game sees no entries");
  }
  size_t bad = 0;
  for (const qm::FoundEntry& e : directory.entries) {
    const qm::EntryRecord& r = e.record;
    std::vector<uint8_t> content;
    qm::DecodeReport report;
    std::string problem;
    if (qm::Status s = archive.ReadPayload(r, &content, &report); !s) {
      problem = s.why();
    } else if (report.produced < r.content_size) {
      problem = "payload gives " + std::to_string(report.produced) + " of " + std::to_string(r.content_size) +
                " content bytes";
    } else if (report.longer) {
      problem = "payload holds more than the content size of " + std::to_string(r.content_size) + " bytes";
    }
    if (!problem.empty()) {
      ++bad;
      std::printf("%s: %s\n", PlainName(r.name).c_str(), problem.c_str());
    }
  }
  if (bad > 0) {
    return Fail(path + ": " + std::to_string(bad) + " of " + std::to_string(directory.entries.size()) +
                " entries do not decode to their content size");
  }
  std::printf("%s: %zu entries, all decode to their content size\n", path.c_str(), directory.entries.size());
  return kExitOk;
}

const Command kArchive = {
    .name = "archive",
    .summary = "create, list, read, write, wipe and verify H4R archives",
    .details = "Works on the game's H4R archives (HEROES4.H4R, UPDATES.H4R, TEXT.H4R).\n",
    .subcommands =
        {
            {.name = "create",
             .summary = "writes an empty archive (refuses an existing file unless --force)",
             .positionals = {{"ARCHIVE"}},
             .options = {{"--force", nullptr,
                          "replace an existing file, in one step once the empty archive is on the disk"}},
             .run = Create},
            {.name = "list",
             .summary = "every record in directory order: name, stored size, content size, time stamp (UTC), "
                        "trailing word, data offset, and the second and third strings when set",
             .positionals = {{"ARCHIVE"}},
             .options = {{"--json", nullptr, "print the directory and its records as one JSON object"}},
             .run = List},
            {.name = "get",
             .summary = "the content of the first entry whose name begins with NAME (ASCII case ignored), as the "
                        "game looks entries up; to standard output or to FILE",
             .positionals = {{"ARCHIVE"}, {"NAME"}},
             .options = {{"-o", "FILE", "write the content to FILE instead of standard output"}},
             .run = Get},
            {.name = "put",
             .summary = "compresses FILE and puts it under NAME: replaces the entry NAME finds, or adds a new "
                        "entry (trailing word 3)",
             .positionals = {{"ARCHIVE"}, {"NAME"}, {"FILE"}},
             .run = Put},
            {.name = "wipe",
             .summary = "rewrites the archive without dead space",
             .positionals = {{"ARCHIVE"}},
             .run = Wipe},
            {.name = "verify",
             .summary = "reads every entry and reports each whose payload does not decode to its content size",
             .positionals = {{"ARCHIVE"}},
             .run = Verify},
        },
};
QLMK_COMMAND(kArchive);

}  // namespace
}  // namespace qlmk
