// Replacing a whole file so that an interruption, a killed process or a power cut alike, leaves
// the old content or the new under its name, never a mix or an empty file.
//
//   Status s = WriteFileReplacing(path, PathBeside(path, "QLMPIC.TMP"), bytes);
//   Status s = PutReplacementInPlace(path, holding);  // `holding` written and File::Sync'ed
//
// The new content is written under a holding name in the same folder and flushed to the disk;
// only then does it take the old file's place in one step (os::ReplaceFileWith), and then the
// folder is flushed so that the rename itself survives a power cut (os::SyncFolderOf). A failure
// before the rename deletes the holding file and leaves the old file as it was; a failure of the
// last flush is reported although the new content is already in place.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/status.h"

namespace qm {

// Puts the finished, flushed `holding` file in place of `target` and flushes the folder.
Status PutReplacementInPlace(const std::string& target, const std::string& holding);

// Writes `bytes` to `holding`, flushes it, and puts it in place of `target`.
Status WriteFileReplacing(const std::string& target, const std::string& holding, std::span<const uint8_t> bytes);

}  // namespace qm
