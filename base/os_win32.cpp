// The OS seam on Windows.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "base/file.h"
#include "base/os.h"
#include "base/handles_win32.h"

namespace qm::os {

namespace {

uint64_t Join(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME Split(uint64_t v) {
  FILETIME t;
  t.dwLowDateTime = static_cast<DWORD>(v & 0xFFFFFFFFu);
  t.dwHighDateTime = static_cast<DWORD>(v >> 32);
  return t;
}

}  // namespace

bool ClearReadOnly(const std::string& path) {
  return !path.empty() && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE) != 0;
}

bool SetReadOnly(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY) != 0;
}

bool IsReadOnly(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::optional<std::string> CreateTempFileIn(const std::string& folder, std::string_view prefix) {
  char name[MAX_PATH + 1] = {};
  const std::string prefix_text(prefix);
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), prefix_text.c_str(), 0, name) == 0) {
    return std::nullopt;
  }
  if (recording::Observer* o = recording::Installed()) o->Created(name);
  return std::string(name);
}

std::optional<std::string> CreateTempFile(std::string_view prefix) {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  if (length == 0 || length > MAX_PATH) return std::nullopt;
  return CreateTempFileIn(folder, prefix);
}

bool ReplaceFileWith(const std::string& target, const std::string& replacement) {
  if (target.empty() || replacement.empty()) return false;
  if (fault::Hit(fault::kRename)) return false;
  if (!MoveFileExA(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  if (recording::Observer* o = recording::Installed()) o->Renamed(replacement, target);
  return true;
}

bool MatchFileMode(const std::string& file, const std::string&) { return FileExists(file); }

bool RenameFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  if (fault::Hit(fault::kRename)) return false;
  if (!MoveFileA(from.c_str(), to.c_str())) return false;
  if (recording::Observer* o = recording::Installed()) o->Renamed(from, to);
  return true;
}

bool RemoveFile(const std::string& path) {
  if (path.empty()) return false;
  if (fault::Hit(fault::kRename)) return false;
  if (!DeleteFileA(path.c_str())) return false;
  if (recording::Observer* o = recording::Installed()) o->Removed(path);
  return true;
}

bool FileExists(const std::string& path) {
  return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<FileTimes> ReadFileTimes(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const KernelHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return std::nullopt;
  FILETIME creation, access, write;
  if (!GetFileTime(h.get(), &creation, &access, &write)) return std::nullopt;
  return FileTimes{Join(creation), Join(write)};
}

bool WriteFileTimes(const std::string& path, const FileTimes& times) {
  if (path.empty()) return false;
  KernelHandle h(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  const FILETIME creation = Split(times.creation);
  const FILETIME write = Split(times.last_write);
  const BOOL ok = SetFileTime(h.get(), &creation, nullptr, &write);
  const BOOL closed = CloseHandle(h.release());  // a failed close is a failed write
  return ok && closed;
}

bool SeekStream(std::FILE* stream, uint64_t offset, int whence) {
  if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
  return _fseeki64(stream, static_cast<__int64>(offset), whence) == 0;
}

std::optional<uint64_t> TellStream(std::FILE* stream) {
  const __int64 at = _ftelli64(stream);
  if (at < 0) return std::nullopt;
  return static_cast<uint64_t>(at);
}

KernelCopy CopyFileRange(std::FILE*, uint64_t, std::FILE*, uint64_t, uint64_t) { return KernelCopy::kUnsupported; }

bool ReserveFileSpace(std::FILE*, uint64_t) { return true; }

bool SyncStream(std::FILE* stream) {
  if (stream == nullptr) return false;
  if (fault::Hit(fault::kFlush)) return false;
  if (std::fflush(stream) != 0) return false;
  if (!durability::DiskFlushesSkipped()) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) return false;
  }
  if (recording::Observer* o = recording::Installed()) o->Synced(stream);
  return true;
}

// MoveFileEx with MOVEFILE_WRITE_THROUGH returns only once the replace is on the disk.
bool SyncFolderOf(const std::string& path) {
  if (path.empty() || fault::Hit(fault::kFlush)) return false;
  if (recording::Observer* o = recording::Installed()) o->FolderSynced(path);
  return true;
}

std::optional<std::string> OwnExecutablePath() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::nullopt;
  return std::string(path, n);
}

void SetStdoutBinary() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace qm::os
