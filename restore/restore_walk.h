// Putting a backup back: the work of the restore tool, and `qlmk restore`. Portable: paths and
// files only; links no zlib.
//
//   switch (qm::CheckRestoreStart(game_folder, version)) {
//     case kNothingToRestore: "Perhaps you don't need to restore UPDATES.H4R."
//     case kVersionTooOld:    "Your current version seems 1.0, you can't restore."
//     case kGo: qm::RestoreFromPayload(own_exe, game_folder) ? restored : failed
//   }
//
// The walk visits the payload's 100 slots in order, so the archive record (added first by the
// backup) is restored before the file-time record stamps its times:
//   - a name ending in ".FTM" (any case) is a file-time record: its bare file name is resolved
//     in the game's DATA folder and that file gets the record's creation and last-write times
//     (the last-access time stays); a file that is not there is ignored;
//   - any other name is a file relative to the game folder (for example DATA\UPDATES.H4R): the
//     blob is copied in pieces to a temporary name beside it, flushed to the disk, and put in
//     place in one step. A failure stops the walk and fails the restore; the file keeps its old
//     content. Once the file is in place the restore of it has happened: a failure to flush its
//     folder to the disk afterwards is reported as a warning and the walk goes on.
// Every record is checked before anything is written: each blob must lie wholly between the
// directory and the trailer, each file name must stay inside the game folder and each
// file-time name must be a bare file name. One bad record fails the restore untouched.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"

namespace qm {

// Below this game version a backup cannot be put back.
constexpr float kRestoreMinimumVersion = 1.1f;

enum class RestoreStart { kGo, kNothingToRestore, kVersionTooOld };

// kNothingToRestore when DATA\UPDATES.H4R is not in the game folder; kVersionTooOld when the
// version is known (not 0) and below 1.1; else kGo.
RestoreStart CheckRestoreStart(const std::string& game_folder, float version);

struct RestoreReport {
  std::vector<std::string> files_restored;  // paths written
  std::vector<std::string> times_applied;   // paths that got their saved times
  std::vector<std::string> warnings;        // restored, but the folder flush failed
};

Status RestoreFromPayload(const std::string& restore_exe, const std::string& game_folder,
                          RestoreReport* report = nullptr);

}  // namespace qm
