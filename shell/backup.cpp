#include "shell/backup.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "archive/file_time_record.h"
#include "archive/payload.h"
#include "base/os.h"
#include "base/replacement_file.h"

namespace qm {

std::string FormatRestoreMarker(float version) {
  char text[32];
  std::snprintf(text, sizeof text, "%1.3f", static_cast<double>(version));
  return text;
}

float ParseRestoreMarker(std::string_view text) {
  const std::string copy(text);  // strtod needs the terminator
  return static_cast<float>(std::strtod(copy.c_str(), nullptr));
}

bool ShouldOfferBackup(float game_version, float marker_before) {
  return game_version >= kBackupMinimumVersion && marker_before < game_version;
}

Status PendingBackup::Begin(std::span<const uint8_t> restore_stub, const std::string& restore_tool_path,
                            PendingBackup* out) {
  if (restore_stub.empty()) return Status::Fail("the restore tool's program is missing");
  if (HasPayloadTrailer(restore_stub)) return Status::Fail("the restore tool's program already carries a payload");
  ReplacementFile file;
  if (Status s = ReplacementFile::Create(restore_tool_path, &file); !s) return s;
  // Closed again at once: the appends of Complete work on the file by its name.
  if (!file.file().Write(restore_stub.data(), restore_stub.size()) || !file.file().Close()) {
    return Status::Fail("cannot write " + file.temp_path());
  }
  out->file_ = std::move(file);
  return Status::Ok();
}

Status PendingBackup::Complete(const std::string& working_archive) {
  if (!pending()) return Status::Fail("no backup was begun");
  // The temporary file goes whatever happens below, unless Commit puts it in place.
  ReplacementFile file = std::move(file_);
  std::vector<uint8_t> times;
  if (Status s = MakeFileTimeRecord(working_archive, kBackupTimesFileName, &times); !s) return s;
  if (Status s = AppendPayloadEntryFromFile(file.temp_path(), kBackupArchiveBlobName, working_archive); !s) {
    return Status::Fail(working_archive + ": " + s.why());
  }
  if (Status s = AppendPayloadEntry(file.temp_path(), kBackupTimesBlobName, times, 0); !s) {
    return Status::Fail(file.temp_path() + ": " + s.why());
  }
  return file.Commit();
}

void PendingBackup::Abandon() { file_.Abandon(); }

Status WriteBackup(std::span<const uint8_t> restore_stub, const std::string& restore_tool_path,
                   const std::string& working_archive) {
  if (!os::FileExists(working_archive)) return Status::Fail(working_archive + ": no such archive");
  PendingBackup pending;
  if (Status s = PendingBackup::Begin(restore_stub, restore_tool_path, &pending); !s) return s;
  return pending.Complete(working_archive);
}

}  // namespace qm
