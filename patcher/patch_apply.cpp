#include "patcher/patch_apply.h"

#include <cstdint>
#include <new>

#include "archive/h4r_format.h"
#include "archive/h4r_writer.h"
#include "archive/payload.h"
#include "base/ascii.h"
#include "base/file.h"
#include "base/os.h"
#include "base/path.h"
#include "base/replacement_file.h"
#include "heroes/game_paths.h"

namespace qm {

namespace {

bool IsEntryName(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot != std::string_view::npos && AsciiEqualNoCase(name.substr(dot + 1), "H4D");
}

// Every record of the kind must be sound before the walk writes anything.
Status CheckRecords(const PayloadReader& reader, std::string_view prefix) {
  uint64_t entry_bytes = 0;
  for (const PayloadRecord& rec : reader.records()) {
    if (!AsciiStartsWithNoCase(rec.name, prefix)) continue;
    if (Status s = reader.CheckBlob(rec); !s) return s;
    if (IsEntryName(rec.name)) {
      entry_bytes += rec.stored_size;
      if (entry_bytes > kMaxPatchEntryBytes) {
        return Status::Fail("the archive entries of the payload are larger than " +
                            std::to_string(kMaxPatchEntryBytes >> 20) + " MB");
      }
    } else if (!IsSafeRelativeName(rec.name)) {
      return Status::Fail("the payload names a file outside the game folder: '" + rec.name + "'");
    }
  }
  return Status::Ok();
}

// The archive entries of the kind, read whole: they go into the archive together.
Status ReadEntries(PayloadReader& reader, std::string_view prefix, std::vector<const PayloadRecord*>* records,
                   std::vector<std::vector<uint8_t>>* blobs) {
  try {
    for (const PayloadRecord& rec : reader.records()) {
      if (!AsciiStartsWithNoCase(rec.name, prefix) || !IsEntryName(rec.name)) continue;
      records->push_back(&rec);
      blobs->emplace_back();
      if (Status s = reader.ReadBlob(rec, &blobs->back()); !s) return s;
    }
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory for the payload's entries");
  }
  return Status::Ok();
}

// Writes a plain file the payload carries, unless a file of that name is already there.
Status WritePlainFile(PayloadReader& reader, const PayloadRecord& rec, const std::string& path, bool* written) {
  *written = false;
  if (File::Open(path, File::Mode::kRead).is_open()) return Status::Ok();
  ReplacementFile out;
  if (Status s = ReplacementFile::Create(path, &out); !s) return s;
  std::vector<uint8_t> scratch;
  if (Status s = reader.CopyBlobTo(rec, out.file(), &scratch, kWorkingBufferSize); !s) return s;
  if (Status s = out.Commit(); !s) return s;
  *written = true;
  return Status::Ok();
}

}  // namespace

std::string_view UpdateKindPrefix(UpdateKind kind) { return kind == UpdateKind::kText ? "table." : "layers."; }

std::string TargetArchiveForGame(const std::string& game_folder) {
  const std::string updates = FindGameDataFile(game_folder, kUpdateArchiveName);
  if (!updates.empty()) return updates;
  return GamePathOfName(game_folder, std::string(kDataFolderName) + "\\" + kBaseArchiveName);
}

bool VersionNeedsQuestion(float version) { return version != 0.0f && version < kPatchQuietVersion; }

Status ApplyPatch(const std::string& patcher_exe, const std::string& game_folder, const std::string& target_archive,
                  UpdateKind kind, ApplyReport* report) {
  ApplyReport local;
  ApplyReport& r = report ? *report : local;
  r = ApplyReport{};
  PayloadReader reader;
  if (Status s = PayloadReader::Open(patcher_exe, &reader); !s) return Status::Fail(patcher_exe + ": " + s.why());
  const std::string_view prefix = UpdateKindPrefix(kind);
  if (Status s = CheckRecords(reader, prefix); !s) return Status::Fail(patcher_exe + ": " + s.why());
  std::vector<const PayloadRecord*> entry_records;
  std::vector<std::vector<uint8_t>> blobs;
  if (Status s = ReadEntries(reader, prefix, &entry_records, &blobs); !s) {
    return Status::Fail(patcher_exe + ": " + s.why());
  }
  // The game may have marked its archive read-only; a refused patch leaves even that as it was.
  os::ClearReadOnly(target_archive);

  for (const PayloadRecord& rec : reader.records()) {
    if (!AsciiStartsWithNoCase(rec.name, prefix) || IsEntryName(rec.name)) continue;
    const std::string path = GamePathOfName(game_folder, rec.name);
    bool written = false;
    if (Status s = WritePlainFile(reader, rec, path, &written); !s) return Status::Fail(path + ": " + s.why());
    (written ? r.files_written : r.files_kept).push_back(path);
  }
  if (!entry_records.empty()) {
    std::vector<StoredEntry> entries;
    for (size_t i = 0; i < entry_records.size(); ++i) {
      entries.push_back({entry_records[i]->name, blobs[i], entry_records[i]->content_size, kNewEntryTrailingWord});
    }
    std::vector<Status> outcomes;
    (void)PutStoredEntries(target_archive, entries, &outcomes);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (outcomes[i]) {
        r.entries_put.push_back(entry_records[i]->name);
      } else {
        r.puts_failed.push_back(entry_records[i]->name + ": " + outcomes[i].why());
      }
    }
  }
  r.slots_walked = kPayloadSlotCount;
  // Every slot was walked, but a player must not read "Successfully updated." over entries
  // that did not arrive.
  if (!r.puts_failed.empty()) {
    return Status::Fail(target_archive + ": " + std::to_string(r.puts_failed.size()) + " of " +
                        std::to_string(r.puts_failed.size() + r.entries_put.size()) +
                        " entries could not be put, first " + r.puts_failed.front());
  }
  return Status::Ok();
}

}  // namespace qm
