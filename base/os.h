// The OS seam: the few file calls that differ between Windows and POSIX.
//
// Implemented once per platform (os_win32.cpp, os_posix.cpp); the rest of the core never
// includes a platform header. Paths are narrow strings in the system code page. Every call
// reports success; none throws.
//
//   ClearReadOnly(path)            make a file writable (Windows: attributes = archive only)
//   CreateTempFile("QLM")          new empty file with that prefix in the user's temp folder
//   CreateTempFileIn(folder, "QLM") the same in a given folder (beside a file it will replace)
//   ReplaceFileWith(target, from)  `from` takes the place of `target` in one step
//   MatchFileMode(file, like)      the permissions a replacement needs to pass for the original
//   RenameFile(from, to)           fails when `to` exists
//   RemoveFile(path), FileExists(path)
//   ReadFileTimes / WriteFileTimes creation and last-write time as Windows file times
//   SeekStream / TellStream        64-bit positions on a C stream
//   CopyFileRange                  in-kernel copy between two files where the system has one
//   ReserveFileSpace               claim a new file's disk space up front
//   SyncStream / SyncFolderOf      push written data (or a rename) through to the disk
//   OwnExecutablePath              the running program's file (stubs read their payload there)
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Every temporary file this system makes begins with this.
constexpr char kTempFilePrefix[] = "QLM";

}  // namespace qm

namespace qm::os {

bool ClearReadOnly(const std::string& path);
// Marks a file read-only (for tests and for restoring a backed-up file's state).
bool SetReadOnly(const std::string& path);
// True when the file exists and is marked read-only.
bool IsReadOnly(const std::string& path);

// Creates a new, empty file named with `prefix` and a unique rest in the user's temporary
// folder (TEMP/TMP on Windows, TMPDIR or /tmp on POSIX); returns its path. The caller deletes it.
std::optional<std::string> CreateTempFile(std::string_view prefix);
// The same in `folder` (empty: the current directory), so that the new file can later take an
// old one's place there in one step. The name is the folder, the prefix and a unique rest.
std::optional<std::string> CreateTempFileIn(const std::string& folder, std::string_view prefix);

// Puts `replacement` in place of `target` in one step, replacing `target` if it exists
// (Windows: MoveFileEx with replace-existing and write-through; POSIX: rename). Both must lie
// on the same volume. A read-only `target` must be made writable first on Windows.
bool ReplaceFileWith(const std::string& target, const std::string& replacement);
// Gives `file` the permissions of `like` (POSIX mode bits), or, when `like` does not exist,
// those of a newly created file (0666 less the umask): a file written under a temporary name
// and then put in place keeps the mode of the file it replaces. Windows keeps no such bits on
// files; there it only checks that `file` exists.
bool MatchFileMode(const std::string& file, const std::string& like);
// Renames a file; fails when the new name is already taken.
bool RenameFile(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
bool FileExists(const std::string& path);

// Times in Windows FILETIME units: 100-nanosecond intervals since 1601-01-01 UTC.
struct FileTimes {
  uint64_t creation = 0;
  uint64_t last_write = 0;
};
// On POSIX the creation time is the birth time where the file system keeps one, else the
// last-change time; the last-write time is the modification time.
std::optional<FileTimes> ReadFileTimes(const std::string& path);
// On POSIX only the modification time can be set; the creation time is ignored there.
bool WriteFileTimes(const std::string& path, const FileTimes& times);

// 64-bit seek and tell on a C stream (`whence` is SEEK_SET or SEEK_END).
bool SeekStream(std::FILE* stream, uint64_t offset, int whence);
std::optional<uint64_t> TellStream(std::FILE* stream);

// Copies `length` bytes from `in` at `in_offset` to `out` at `out_offset` inside the kernel,
// without passing them through the program (Linux copy_file_range). kUnsupported means nothing
// was copied and the caller should copy through a buffer instead. Neither stream's position or
// buffer is touched: flush `out` before and seek it after.
enum class KernelCopy { kDone, kUnsupported, kFailed };
KernelCopy CopyFileRange(std::FILE* in, uint64_t in_offset, std::FILE* out, uint64_t out_offset, uint64_t length);

// Reserves disk space for `size` bytes of a new file, so that a full disk shows before anything
// is written. False only when the space is not there; a system that cannot reserve space ahead
// counts as success.
bool ReserveFileSpace(std::FILE* stream, uint64_t size);

// Pushes a stream's written data through the operating system's cache to the disk (POSIX
// fsync, Windows FlushFileBuffers), after flushing the C runtime's buffer. A rename that makes a
// new file take an old one's place must come after this, or a power cut can leave the new name
// with missing contents. Counts as a flush for fault injection.
bool SyncStream(std::FILE* stream);
// Makes a finished rename in the folder that holds `path` durable (POSIX: fsync of the folder).
// Windows needs nothing here (the replace is written through), so it succeeds there.
bool SyncFolderOf(const std::string& path);

// The full path of the running program's own executable (Windows: GetModuleFileNameA; Linux:
// /proc/self/exe); nullopt when the system cannot tell.
std::optional<std::string> OwnExecutablePath();

// Puts standard output into binary mode (no newline translation on Windows).
void SetStdoutBinary();

}  // namespace qm::os
