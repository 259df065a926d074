// Checked binary file access over the C runtime.
//
//   qm::File f = qm::File::Open(path, qm::File::Mode::kReadWrite);
//   if (!f.is_open() || !f.Seek(4) || !f.Write(&v, 4) || !f.Close()) -> failure
//
// Every read, write, seek, tell, flush and close reports whether it worked; nothing is
// silently ignored. The file is closed by the destructor too (unchecked: that path is only
// taken after something else already failed). Files are always opened in binary mode, so no
// newline translation happens on Windows. Offsets are 64-bit, so files past 2 GiB work in the
// 32-bit build as well.
//
// Fault injection (for tests): qm::fault::FailNth(k, kinds) makes the k-th checked operation
// of the given kinds fail, as a full disk or a pulled drive would, so that every path that
// handles a failure can be exercised. A failing write writes nothing; a failing close still
// closes. The OS seam (base/os.h) counts renames and deletes too. When nothing is armed the
// hook costs one test of a global flag.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace qm {

namespace fault {

enum Kind : unsigned {
  kRead = 1u << 0,
  kWrite = 1u << 1,
  kSeek = 1u << 2,
  kFlush = 1u << 3,
  kClose = 1u << 4,
  kRename = 1u << 5,  // rename, replace and delete in the OS seam
  kAll = 0xFFFFFFFFu,
};

// Arms the hook: the `nth` (1-based) operation whose kind is in `kinds` fails.
void FailNth(unsigned long nth, unsigned kinds);
// Disarms the hook and clears the counters.
void Reset();
// True once the armed failure has happened.
bool Triggered();
// Operations of the armed kinds seen since FailNth.
unsigned long Counted();

namespace detail {
extern bool g_armed;
bool HitSlow(Kind kind);
}  // namespace detail

// Called by the checked operations: true when this operation is to fail.
inline bool Hit(Kind kind) { return detail::g_armed && detail::HitSlow(kind); }

}  // namespace fault

// Recording (for tests): an observer installed with recording::Install sees, in order, every
// change the program asks of the file system through File and the OS seam (base/os.h), so that
// a test can replay them as a power cut at any moment would leave them on the disk. Paths are
// as the program passed them. While an observer is installed, File::CopyRangeFrom copies
// through File::Write, so that every written byte is seen. When none is installed the hooks
// cost one test of a global pointer.
namespace recording {

class Observer {
 public:
  virtual ~Observer() = default;
  // A file opened by File::Open; `truncated` when the mode created or emptied it.
  virtual void Opened(std::FILE* stream, const std::string& path, bool truncated) = 0;
  virtual void Closed(std::FILE* stream) = 0;
  // `n` bytes written at `offset` (the bytes are only borrowed for the call).
  virtual void Wrote(std::FILE* stream, uint64_t offset, const void* data, size_t n) = 0;
  // The stream's written data reached the disk (os::SyncStream succeeded).
  virtual void Synced(std::FILE* stream) = 0;
  // A new empty file (os::CreateTempFileIn).
  virtual void Created(const std::string& path) = 0;
  // `from` took the name `to`, replacing any file of that name.
  virtual void Renamed(const std::string& from, const std::string& to) = 0;
  virtual void Removed(const std::string& path) = 0;
  // Name changes in the folder of `path` reached the disk (os::SyncFolderOf succeeded).
  virtual void FolderSynced(const std::string& path) = 0;
};

// Installs `observer` (nullptr: none). The caller keeps it alive while it is installed.
void Install(Observer* observer);

namespace detail {
extern Observer* g_observer;
}  // namespace detail

// The installed observer, or nullptr.
inline Observer* Installed() { return detail::g_observer; }

}  // namespace recording

namespace durability {

// For the benchmark only: makes File::Sync, os::SyncStream and os::SyncFolderOf stop after the
// C runtime's flush, so that one run can show what the flushes to the disk cost. The programs
// never set it.
void SkipDiskFlushesForMeasurement(bool skip);
bool DiskFlushesSkipped();

}  // namespace durability

class File {
 public:
  enum class Mode {
    kRead,             // existing file, read only ("rb")
    kReadWrite,        // existing file, read and write ("r+b")
    kCreate,           // create or truncate, write only ("wb")
    kCreateReadWrite,  // create or truncate, read and write ("w+b")
  };

  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens `path`; check is_open(). An empty path never opens.
  static File Open(const std::string& path, Mode mode);

  bool is_open() const { return stream_ != nullptr; }

  // Reads exactly n bytes; false when fewer were available or the read failed.
  [[nodiscard]] bool Read(void* out, size_t n);
  // Reads up to n bytes; returns how many arrived (0 at the end or on failure).
  size_t ReadUpTo(void* out, size_t n);
  // Writes exactly n bytes; false on any failure.
  [[nodiscard]] bool Write(const void* data, size_t n);

  [[nodiscard]] bool Seek(uint64_t offset);
  [[nodiscard]] bool SeekToEnd();
  std::optional<uint64_t> Tell();
  // Length of the file; the position is kept.
  std::optional<uint64_t> Size();

  // Copies `length` bytes from `offset` in `source` to this file's current position, in the
  // kernel where the system can (Linux), else in pieces of at most `piece_size` bytes through
  // `scratch` (grown only when needed). The position ends after the copied bytes. Counts as a
  // write for fault injection.
  [[nodiscard]] bool CopyRangeFrom(File& source, uint64_t offset, uint64_t length, std::vector<uint8_t>* scratch,
                     size_t piece_size);

  [[nodiscard]] bool Flush();
  // Flush() and then push the data through to the disk (os::SyncStream): use before a rename
  // or a header update that must not reach the disk ahead of the bytes it relies on.
  [[nodiscard]] bool Sync();
  // Closes the file. Returns false when buffered data could not be written (the file is closed
  // all the same). Closing a file that is not open succeeds.
  [[nodiscard]] bool Close();

  // The underlying stream, borrowed; for libraries that take a FILE*.
  std::FILE* stream() const { return stream_; }

 private:
  explicit File(std::FILE* stream) : stream_(stream) {}

  std::FILE* stream_ = nullptr;
};

// Reads a whole file through File (so fault injection reaches every reader), refusing one of
// more than `max_bytes` before allocating. On anything but kOk, `bytes` is left empty; callers
// word the reason for their own file kind.
enum class ReadWholeResult { kOk, kCannotOpen, kTooLarge, kNoMemory, kReadFailed };
ReadWholeResult ReadWholeFile(const std::string& path, uint64_t max_bytes, std::vector<uint8_t>* bytes);

}  // namespace qm
