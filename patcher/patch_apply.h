// Applying a patcher's payload to a game: the work the patcher's two update buttons do, and
// `qlmk patch apply`. Portable: paths and files only, no window.
//
//   std::string target = qm::TargetArchiveForGame(game_folder);   // DATA\UPDATES.H4R or HEROES4.H4R
//   if (qm::VersionNeedsQuestion(version) && !user_says_yes) stop;
//   qm::Status s = qm::ApplyPatch(own_exe, game_folder, target, qm::UpdateKind::kPortraits);
//
// The walk visits the payload's 100 slots in order and takes the used slots whose name begins
// with the kind's prefix ("table." for text, "layers." for portraits; ASCII case ignored):
//   - a name ending in ".H4D" (any case) is put into the target archive as a stored entry
//     (a new entry gets trailing word 3); a put that fails is noted in the report and the walk
//     goes on to the other entries, but the update then reports failure at its end;
//   - any other name is a file relative to the game folder (backslashes as separators): left
//     alone when it exists, else written under a temporary name beside it, flushed to the disk
//     and put in place in one step; a file that cannot be written fails the update.
// A payload passed between players is untrusted. Before anything is written, every selected
// record is checked: its blob must lie wholly between the directory and the trailer, and a
// plain-file name must stay inside the game folder (base/path.h IsSafeRelativeName). One bad
// record fails the whole update and nothing is written. Blobs of any size are applied: an
// entry is read whole (its size is then known to fit the file), a plain file is copied in
// pieces.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace qm {

enum class UpdateKind { kText = 0, kPortraits = 1 };

// Below this game version the patcher asks before it patches.
constexpr float kPatchQuietVersion = 1.3f;

// "table." or "layers.".
std::string_view UpdateKindPrefix(UpdateKind kind);

// game_folder ends in a separator. DATA\UPDATES.H4R when it exists, else DATA\HEROES4.H4R
// (DATA and the file found without regard to case on hosts whose file systems keep it).
std::string TargetArchiveForGame(const std::string& game_folder);

// True when the version is known (not 0) and below 1.3.
bool VersionNeedsQuestion(float version);

struct ApplyReport {
  size_t slots_walked = 0;
  std::vector<std::string> entries_put;     // archive entries replaced or added
  std::vector<std::string> puts_failed;     // "name: why"
  std::vector<std::string> files_written;   // plain files made
  std::vector<std::string> files_kept;      // plain files that existed and were left alone
};

Status ApplyPatch(const std::string& patcher_exe, const std::string& game_folder, const std::string& target_archive,
                  UpdateKind kind, ApplyReport* report = nullptr);

}  // namespace qm
