// Applying a patcher's payload to a game: the work the patcher's two update buttons do, and
// `qlmk patch apply`. Portable: paths and files only, no window.
//
//   std::string target = qm::TargetArchiveForGame(game_folder);   // DATA\UPDATES.H4R or HEROES4.H4R
//   if (qm::VersionNeedsQuestion(version) && !user_says_yes) stop;
//   qm::Status s = qm::ApplyPatch(own_exe, game_folder, target, qm::UpdateKind::kPortraits);
//
// The walk visits the payload's 100 slots in order and takes the used slots whose name begins
// with the kind's prefix ("table." for text, "layers." for portraits; ASCII case ignored):
//   - a name ending in ".H4D" (any case) is an archive entry. All of them are put into the target
//     archive together, in slot order, as one commit (archive/h4r_writer.h PutStoredEntries): a
//     power cut leaves the archive with all of them or none (a new entry gets trailing word 3).
//     An entry that cannot be put is noted in the report and the others still go in, but the
//     update then reports failure;
//   - any other name is a file relative to the game folder (backslashes as separators): left
//     alone when it exists, else written under a temporary name beside it, flushed to the disk
//     and put in place in one step; a file that cannot be written fails the update before the
//     archive is changed.
// A payload passed between players is untrusted. Before anything is written, every selected
// record is checked: its blob must lie wholly between the directory and the trailer, a
// plain-file name must stay inside the game folder (base/path.h IsSafeRelativeName), and the
// archive entries, which are read whole, must come to at most kMaxPatchEntryBytes together. One
// bad record, or too little memory to read the entries, fails the whole update with nothing
// written. A plain file is copied in pieces, whatever its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace qm {

enum class UpdateKind { kText = 0, kPortraits = 1 };

// The archive entries of one update are read into memory whole; a payload whose entries come to
// more than this is refused (the editor's thirteen come to a few megabytes).
constexpr uint64_t kMaxPatchEntryBytes = 256ull << 20;

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
