// The backup of the working archive into the restore tool, offered once per game version.
//
//   float before = ParseRestoreMarker(registry text);          // 0 when missing or garbage
//   write FormatRestoreMarker(version) when version > before    // "1.300"
//   if (!ShouldOfferBackup(version, before)) return;
//   qm::PendingBackup pending;
//   if (!qm::PendingBackup::Begin(restore_stub, game_folder + "DATA\\RESTORE.EXE", &pending)) return;
//   if (ask the user == yes) pending.Complete(working_archive);  // else: the destructor cleans up
//
// Begin writes the restore tool's bytes to a new temporary file ("QLM" prefix) in the folder
// of the restore tool path; the old RESTORE.EXE is not touched. Complete appends the two
// backup blobs to it:
//   "DATA\UPDATES.H4R"  the whole working archive, byte for byte, copied in pieces (bounded
//                        memory whatever the archive's size), content size 0
//   "DATA\UPDATES.FTM"  the file-time record (archive/file_time_record.h) of the working
//                        archive, named "UPDATES.H4R" (the restore tool finds it in DATA)
// then flushes the file to the disk and puts it in place of RESTORE.EXE in one step. After a
// no answer or any failure the temporary file is deleted and the old RESTORE.EXE stays as it
// was; a failed Complete reports why.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/replacement_file.h"
#include "base/status.h"

namespace qm {

// From this game version on the backup is offered.
constexpr float kBackupMinimumVersion = 1.1f;
constexpr const char* kRestoreToolRelativePath = "DATA\\RESTORE.EXE";
constexpr const char* kBackupArchiveBlobName = "DATA\\UPDATES.H4R";
constexpr const char* kBackupTimesBlobName = "DATA\\UPDATES.FTM";
constexpr const char* kBackupTimesFileName = "UPDATES.H4R";

// "%1.3f": 1.3f -> "1.300".
std::string FormatRestoreMarker(float version);
// The text as a decimal number (strtod, then single precision); 0 for text that is no number.
float ParseRestoreMarker(std::string_view text);
// True when the version is at least 1.1 and the marker as it was is below it.
bool ShouldOfferBackup(float game_version, float marker_before);

// Owns the temporary file until Complete puts it in place; destroying it unfinished deletes it.
class PendingBackup {
 public:

  // Writes `restore_stub` to a new temporary file beside `restore_tool_path`. Fails (leaving
  // nothing behind) for an empty stub or when the file cannot be written.
  static Status Begin(std::span<const uint8_t> restore_stub, const std::string& restore_tool_path,
                      PendingBackup* out);

  // Appends the backup of `working_archive` and puts the result in place of the restore tool.
  // Once called, the temporary file is gone either way.
  Status Complete(const std::string& working_archive);

  // Deletes the temporary file; the restore tool on disk stays as it was.
  void Abandon();

  bool pending() const { return file_.pending(); }
  const std::string& temp_path() const { return file_.temp_path(); }

 private:
  ReplacementFile file_;
};

// Begin and Complete in one go, for callers that ask nobody (qlmk backup).
Status WriteBackup(std::span<const uint8_t> restore_stub, const std::string& restore_tool_path,
                   const std::string& working_archive);

}  // namespace qm
