// The backup of the working archive into the restore tool, offered once per game version.
//
//   float before = ParseRestoreMarker(registry text);               // 0 when missing or garbage
//   if (RestoreMarkerIsBelow(before, version)) write FormatRestoreMarker(version);   // "1.300"
//   if (!ShouldOfferBackup(version, before) || restore_stub.empty()) return;
//   if (ask the user == yes) WriteBackup(restore_stub, game_folder + "DATA\\RESTORE.EXE", working_archive);
//
// The marker holds the version as text with three decimals, so versions are compared as that
// text reads back: 1.3.1.0 computes to 1.31000006, is kept as "1.310" and reads back as
// 1.30999994, which must count as the same version, or the question would come at every start.
//
// WriteBackup writes the restore tool with its payload begun (archive/stub_file.h) to a new
// temporary file ("QLM" prefix) in the folder of the restore tool path and appends:
//   "DATA\UPDATES.H4R"  the whole working archive, byte for byte, copied in pieces (bounded
//                        memory whatever the archive's size), content size 0
//   "DATA\UPDATES.FTM"  the file-time record (archive/file_time_record.h) of the working
//                        archive, named "UPDATES.H4R" (the restore tool finds it in DATA)
// then flushes the file to the disk and puts it in place of RESTORE.EXE in one step. Nothing is
// written before that call: after a no answer, or any failure, the old RESTORE.EXE stays as it
// was and no temporary file remains.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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
// True when the marker reads below the game version as the marker would hold it: the marker is
// then raised to that version.
bool RestoreMarkerIsBelow(float marker, float game_version);
// True when the version is at least 1.1 and the marker as it was is below it.
bool ShouldOfferBackup(float game_version, float marker_before);

Status WriteBackup(std::span<const uint8_t> restore_stub, const std::string& restore_tool_path,
                   const std::string& working_archive);

}  // namespace qm
