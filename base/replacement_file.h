// A new version of a file, written under a temporary name beside it and put in its place in
// one step once complete, so that an interruption leaves either the old file or the new one.
//
//   qm::ReplacementFile out;
//   if (!qm::ReplacementFile::Create(target, &out)) fail;
//   if (!out.file().Write(...)) fail;      // the destructor deletes the temporary file
//   qm::Status s = out.Commit();           // sync, replace, sync the folder
//
//   qm::Status s = qm::WriteWholeFile(target, bytes);   // the same for bytes held in memory
//
// The temporary file begins with "QLM" and lies in the target's folder (the same volume, so
// the replace is one step). Commit flushes the data through to the disk before the replace
// (else a power cut could leave the new name with missing bytes), makes a read-only target
// writable, gives the new file the target's permissions (a new target gets those of any new
// file), replaces the target, and makes the replace durable. The file may be closed in between
// (to let a function that works by path append to it); Commit reopens it to sync it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/file.h"
#include "base/status.h"

namespace qm {

class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile();
  ReplacementFile(ReplacementFile&& other) noexcept;
  ReplacementFile& operator=(ReplacementFile&& other) noexcept;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the empty temporary file beside `target`, open for writing.
  static Status Create(const std::string& target, ReplacementFile* out);
  // The same, starting with a copy of the existing `target`, open for writing at its end.
  static Status CreateCopy(const std::string& target, ReplacementFile* out);

  File& file() { return file_; }
  const std::string& temp_path() const { return temp_path_; }
  const std::string& target() const { return target_; }
  bool pending() const { return !temp_path_.empty(); }

  // Puts the temporary file in the target's place. On failure the temporary file is deleted
  // and the target is as it was. Either way nothing is pending afterwards. The replace is the
  // commit: when only the flush of the folder fails after it, the new file is in place but a
  // power cut may still undo the replace. With `folder_warning` given, Commit then succeeds
  // and says so there; without it, Commit fails.
  Status Commit(std::string* folder_warning = nullptr);
  // Deletes the temporary file; the target stays as it was.
  void Abandon();

 private:
  File file_;
  std::string temp_path_;
  std::string target_;
};

// Writes `bytes` as the whole new content of `path` through a ReplacementFile: an existing file
// stays as it was unless every byte was written and put in its place. The reason names the path.
Status WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);
Status WriteWholeFile(const std::string& path, std::string_view text);

}  // namespace qm
