#include "shell/backup.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "archive/file_time_record.h"
#include "archive/payload.h"
#include "archive/stub_file.h"
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

bool RestoreMarkerIsBelow(float marker, float game_version) {
  return marker < ParseRestoreMarker(FormatRestoreMarker(game_version));
}

bool ShouldOfferBackup(float game_version, float marker_before) {
  return game_version >= kBackupMinimumVersion && RestoreMarkerIsBelow(marker_before, game_version);
}

Status WriteBackup(std::span<const uint8_t> restore_stub, const std::string& restore_tool_path,
                   const std::string& working_archive) {
  if (!os::FileExists(working_archive)) return Status::Fail(working_archive + ": no such archive");
  std::vector<uint8_t> times;
  if (Status s = MakeFileTimeRecord(working_archive, kBackupTimesFileName, &times); !s) return s;
  ReplacementFile file;
  if (Status s = StartStubFile(restore_stub, restore_tool_path, "restore tool", &file); !s) return s;
  if (Status s = AppendPayloadEntryFromFile(file.temp_path(), kBackupArchiveBlobName, working_archive); !s) {
    return Status::Fail(working_archive + ": " + s.why());
  }
  if (Status s = AppendPayloadEntry(file.temp_path(), kBackupTimesBlobName, times, 0); !s) {
    return Status::Fail(file.temp_path() + ": " + s.why());
  }
  return file.Commit();
}

}  // namespace qm
