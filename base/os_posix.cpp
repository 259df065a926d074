// The OS seam on POSIX systems (the Linux host build).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/file.h"
#include "base/os.h"

namespace qm::os {

namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kFileTimeEpochOffsetSeconds = 11644473600LL;
constexpr int64_t kFileTimeUnitsPerSecond = 10000000LL;

uint64_t ToFileTime(const struct timespec& t) {
  const int64_t seconds = static_cast<int64_t>(t.tv_sec) + kFileTimeEpochOffsetSeconds;
  if (seconds < 0) return 0;
  return static_cast<uint64_t>(seconds) * kFileTimeUnitsPerSecond + static_cast<uint64_t>(t.tv_nsec / 100);
}

struct timespec FromFileTime(uint64_t file_time) {
  struct timespec t {};
  const int64_t seconds = static_cast<int64_t>(file_time / kFileTimeUnitsPerSecond) - kFileTimeEpochOffsetSeconds;
  t.tv_sec = static_cast<time_t>(seconds);
  t.tv_nsec = static_cast<long>((file_time % kFileTimeUnitsPerSecond) * 100);
  return t;
}

}  // namespace

bool ClearReadOnly(const std::string& path) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  if (st.st_mode & S_IWUSR) return true;
  return chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool SetReadOnly(const std::string& path) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  return chmod(path.c_str(), (st.st_mode & 07777) & ~(S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool IsReadOnly(const std::string& path) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & S_IWUSR) == 0;
}

std::optional<std::string> CreateTempFileIn(const std::string& folder, std::string_view prefix) {
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '/') pattern += '/';
  pattern += std::string(prefix) + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return std::nullopt;
  close(fd);
  if (recording::Observer* o = recording::Installed()) o->Created(name.data());
  return std::string(name.data());
}

std::optional<std::string> CreateTempFile(std::string_view prefix) {
  const char* tmpdir = std::getenv("TMPDIR");
  return CreateTempFileIn((tmpdir && *tmpdir) ? tmpdir : "/tmp", prefix);
}

bool ReplaceFileWith(const std::string& target, const std::string& replacement) {
  if (target.empty() || replacement.empty()) return false;
  if (fault::Hit(fault::kRename)) return false;
  if (std::rename(replacement.c_str(), target.c_str()) != 0) return false;
  if (recording::Observer* o = recording::Installed()) o->Renamed(replacement, target);
  return true;
}

bool MatchFileMode(const std::string& file, const std::string& like) {
  if (file.empty()) return false;
  struct stat st {};
  mode_t mode = 0;
  if (!like.empty() && stat(like.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);  // reading the umask means setting it; put it straight back
    umask(mask);
    mode = 0666 & ~mask;
  }
  return chmod(file.c_str(), mode) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty() || FileExists(to)) return false;
  if (fault::Hit(fault::kRename)) return false;
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  if (recording::Observer* o = recording::Installed()) o->Renamed(from, to);
  return true;
}

bool RemoveFile(const std::string& path) {
  if (path.empty()) return false;
  if (fault::Hit(fault::kRename)) return false;
  if (unlink(path.c_str()) != 0) return false;
  if (recording::Observer* o = recording::Installed()) o->Removed(path);
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::optional<FileTimes> ReadFileTimes(const std::string& path) {
  if (path.empty()) return std::nullopt;
  FileTimes times;
#if defined(STATX_BTIME)
  struct statx sx {};
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_MTIME | STATX_CTIME | STATX_BTIME, &sx) == 0) {
    auto convert = [](const struct statx_timestamp& s) {
      struct timespec t {};
      t.tv_sec = static_cast<time_t>(s.tv_sec);
      t.tv_nsec = static_cast<long>(s.tv_nsec);
      return ToFileTime(t);
    };
    times.last_write = convert(sx.stx_mtime);
    times.creation = (sx.stx_mask & STATX_BTIME) ? convert(sx.stx_btime) : convert(sx.stx_ctime);
    return times;
  }
#endif
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  times.last_write = ToFileTime(st.st_mtim);
  times.creation = ToFileTime(st.st_ctim);
  return times;
}

bool WriteFileTimes(const std::string& path, const FileTimes& times) {
  if (path.empty()) return false;
  struct timespec both[2];
  both[0].tv_sec = 0;
  both[0].tv_nsec = UTIME_OMIT;  // access time stays
  both[1] = FromFileTime(times.last_write);
  return utimensat(AT_FDCWD, path.c_str(), both, 0) == 0;
}

bool SeekStream(std::FILE* stream, uint64_t offset, int whence) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
  return fseeko(stream, static_cast<off_t>(offset), whence) == 0;
}

std::optional<uint64_t> TellStream(std::FILE* stream) {
  const off_t at = ftello(stream);
  if (at < 0) return std::nullopt;
  return static_cast<uint64_t>(at);
}

KernelCopy CopyFileRange(std::FILE* in, uint64_t in_offset, std::FILE* out, uint64_t out_offset, uint64_t length) {
  if (in_offset > static_cast<uint64_t>(INT64_MAX) || out_offset > static_cast<uint64_t>(INT64_MAX)) {
    return KernelCopy::kUnsupported;
  }
  loff_t from = static_cast<loff_t>(in_offset);
  loff_t to = static_cast<loff_t>(out_offset);
  const int in_fd = fileno(in), out_fd = fileno(out);
  uint64_t remaining = length;
  while (remaining > 0) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(remaining, 1u << 30));
    const ssize_t copied = copy_file_range(in_fd, &from, out_fd, &to, piece, 0);
    if (copied < 0 && errno == EINTR) continue;
    if (copied <= 0) {
      // Not available here (old kernel, other file system): nothing copied yet, so fall back.
      const bool unsupported = copied < 0 && (errno == ENOSYS || errno == EXDEV || errno == EINVAL ||
                                              errno == EOPNOTSUPP || errno == EBADF);
      return remaining == length && unsupported ? KernelCopy::kUnsupported : KernelCopy::kFailed;
    }
    remaining -= static_cast<uint64_t>(copied);
  }
  return KernelCopy::kDone;
}

bool ReserveFileSpace(std::FILE* stream, uint64_t size) {
  if (size == 0 || size > static_cast<uint64_t>(INT64_MAX)) return true;
  const int rc = posix_fallocate(fileno(stream), 0, static_cast<off_t>(size));
  return rc != ENOSPC && rc != EFBIG;
}

bool SyncStream(std::FILE* stream) {
  if (stream == nullptr) return false;
  if (fault::Hit(fault::kFlush)) return false;
  if (std::fflush(stream) != 0) return false;
  if (!durability::DiskFlushesSkipped() && fsync(fileno(stream)) != 0) return false;
  if (recording::Observer* o = recording::Installed()) o->Synced(stream);
  return true;
}

bool SyncFolderOf(const std::string& path) {
  if (path.empty()) return false;
  if (fault::Hit(fault::kFlush)) return false;
  if (durability::DiskFlushesSkipped()) {
    if (recording::Observer* o = recording::Installed()) o->FolderSynced(path);
    return true;
  }
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  if (close(fd) != 0 || !synced) return false;
  if (recording::Observer* o = recording::Installed()) o->FolderSynced(path);
  return true;
}

std::optional<std::string> OwnExecutablePath() {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return std::nullopt;
  return std::string(buffer.data(), static_cast<size_t>(n));
}

void SetStdoutBinary() {}

}  // namespace qm::os
