#include "restore/restore_walk.h"

#include <cstdint>

#include "archive/file_time_record.h"
#include "archive/payload.h"
#include "base/ascii.h"
#include "base/os.h"
#include "base/path.h"
#include "base/replacement_file.h"
#include "heroes/game_paths.h"

namespace qm {

namespace {

// Pieces in which a restored file is copied out of the payload: memory stays bounded whatever
// the size of the backed-up archive.
constexpr size_t kRestorePieceSize = 1 << 20;
// A file-time record holds two times and a short name; anything larger is no such record.
constexpr uint32_t kMaxFileTimeRecordSize = 1024;

bool IsFileTimeRecord(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot != std::string_view::npos && AsciiEqualNoCase(name.substr(dot + 1), "FTM");
}

Status ReadFileTimeRecord(PayloadReader& reader, const PayloadRecord& rec, FileTimeRecord* out) {
  if (rec.stored_size > kMaxFileTimeRecordSize) return Status::Fail("the file-time record '" + rec.name + "' is too large");
  std::vector<uint8_t> blob;
  if (Status s = reader.ReadBlob(rec, &blob); !s) return s;
  return DecodeFileTimeRecord(blob, out);
}

// Every record must be sound before anything is written.
Status CheckRecords(PayloadReader& reader) {
  for (const PayloadRecord& rec : reader.records()) {
    if (Status s = reader.CheckBlob(rec); !s) return s;
    if (!IsSafeRelativeName(rec.name)) {
      return Status::Fail("the payload names a file outside the game folder: '" + rec.name + "'");
    }
    if (!IsFileTimeRecord(rec.name)) continue;
    FileTimeRecord times;
    if (Status s = ReadFileTimeRecord(reader, rec, &times); !s) return s;
    if (!IsBareFileName(times.name)) {
      return Status::Fail("the file-time record names '" + times.name + "', not a file of the DATA folder");
    }
  }
  return Status::Ok();
}

// The replace is the commit: a folder flush that fails after it is only a warning, since the
// file is back and the walk must still give it its times.
Status RestoreFile(PayloadReader& reader, const PayloadRecord& rec, const std::string& path, RestoreReport* report) {
  ReplacementFile out;
  if (Status s = ReplacementFile::Create(path, &out); !s) return s;
  std::vector<uint8_t> scratch;
  if (Status s = reader.CopyBlobTo(rec, out.file(), &scratch, kRestorePieceSize); !s) return s;
  std::string warning;
  if (Status s = out.Commit(&warning); !s) return s;
  if (!warning.empty()) report->warnings.push_back(warning);
  return Status::Ok();
}

}  // namespace

RestoreStart CheckRestoreStart(const std::string& game_folder, float version) {
  if (FindGameDataFile(game_folder, kUpdateArchiveName).empty()) return RestoreStart::kNothingToRestore;
  if (version != 0.0f && version < kRestoreMinimumVersion) return RestoreStart::kVersionTooOld;
  return RestoreStart::kGo;
}

Status RestoreFromPayload(const std::string& restore_exe, const std::string& game_folder, RestoreReport* report) {
  RestoreReport local;
  RestoreReport& r = report ? *report : local;
  r = RestoreReport{};
  PayloadReader reader;
  if (Status s = PayloadReader::Open(restore_exe, &reader); !s) return Status::Fail(restore_exe + ": " + s.why());
  if (Status s = CheckRecords(reader); !s) return Status::Fail(restore_exe + ": " + s.why());

  const std::string data_folder = GamePathOfName(game_folder, kDataFolderName);
  for (const PayloadRecord& rec : reader.records()) {
    if (IsFileTimeRecord(rec.name)) {
      FileTimeRecord times;
      if (Status s = ReadFileTimeRecord(reader, rec, &times); !s) return Status::Fail(restore_exe + ": " + s.why());
      // A file that is not there gets no times; that does not fail the restore.
      const std::string path = GamePathOfName(data_folder, times.name);
      if (os::FileExists(path) && os::WriteFileTimes(path, {times.creation, times.last_write})) {
        r.times_applied.push_back(path);
      }
      continue;
    }
    const std::string path = GamePathOfName(game_folder, rec.name);
    if (Status s = RestoreFile(reader, rec, path, &r); !s) return Status::Fail(path + ": " + s.why());
    r.files_restored.push_back(path);
  }
  return Status::Ok();
}

}  // namespace qm
