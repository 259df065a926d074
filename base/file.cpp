#include "base/file.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "base/os.h"

namespace qm {

namespace fault {
namespace detail {
bool g_armed = false;
}  // namespace detail

namespace {
unsigned long g_nth = 0;
unsigned g_kinds = 0;
unsigned long g_counted = 0;
bool g_triggered = false;
}  // namespace

void FailNth(unsigned long nth, unsigned kinds) {
  g_nth = nth;
  g_kinds = kinds;
  g_counted = 0;
  g_triggered = false;
  detail::g_armed = true;
}

void Reset() {
  detail::g_armed = false;
  g_nth = 0;
  g_kinds = 0;
  g_counted = 0;
  g_triggered = false;
}

bool Triggered() { return g_triggered; }
unsigned long Counted() { return g_counted; }

bool detail::HitSlow(Kind kind) {
  if ((g_kinds & kind) == 0) return false;
  ++g_counted;
  if (g_counted != g_nth) return false;
  g_triggered = true;
  return true;
}

}  // namespace fault

namespace recording {
namespace detail {
Observer* g_observer = nullptr;
}  // namespace detail

void Install(Observer* observer) { detail::g_observer = observer; }

}  // namespace recording

namespace durability {
namespace {
bool g_skip_disk_flushes = false;
}  // namespace

void SkipDiskFlushesForMeasurement(bool skip) { g_skip_disk_flushes = skip; }
bool DiskFlushesSkipped() { return g_skip_disk_flushes; }

}  // namespace durability

namespace {

const char* ModeString(File::Mode mode) {
  switch (mode) {
    case File::Mode::kRead: return "rb";
    case File::Mode::kReadWrite: return "r+b";
    case File::Mode::kCreate: return "wb";
    case File::Mode::kCreateReadWrite: return "w+b";
  }
  return "rb";
}

// Closes without reporting; for paths that already failed.
void CloseQuietly(std::FILE* stream) {
  if (recording::Observer* o = recording::Installed()) o->Closed(stream);
  std::fclose(stream);
}

}  // namespace

File::~File() {
  if (stream_) CloseQuietly(stream_);
}

File::File(File&& other) noexcept : stream_(std::exchange(other.stream_, nullptr)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (stream_) CloseQuietly(stream_);
    stream_ = std::exchange(other.stream_, nullptr);
  }
  return *this;
}

File File::Open(const std::string& path, Mode mode) {
  if (path.empty()) return File();
  std::FILE* stream = std::fopen(path.c_str(), ModeString(mode));
  if (stream) {
    if (recording::Observer* o = recording::Installed()) {
      o->Opened(stream, path, mode == Mode::kCreate || mode == Mode::kCreateReadWrite);
    }
  }
  return File(stream);
}

bool File::Read(void* out, size_t n) {
  if (!stream_) return false;
  if (n == 0) return true;
  if (fault::Hit(fault::kRead)) return false;
  return std::fread(out, 1, n, stream_) == n;
}

size_t File::ReadUpTo(void* out, size_t n) {
  if (!stream_ || n == 0) return 0;
  if (fault::Hit(fault::kRead)) return 0;
  return std::fread(out, 1, n, stream_);
}

bool File::Write(const void* data, size_t n) {
  if (!stream_) return false;
  if (n == 0) return true;
  if (fault::Hit(fault::kWrite)) return false;
  recording::Observer* observer = recording::Installed();
  const std::optional<uint64_t> at = observer ? os::TellStream(stream_) : std::nullopt;
  const size_t written = std::fwrite(data, 1, n, stream_);
  if (observer && at && written > 0) observer->Wrote(stream_, *at, data, written);
  return written == n;
}

bool File::Seek(uint64_t offset) {
  if (!stream_) return false;
  if (fault::Hit(fault::kSeek)) return false;
  return os::SeekStream(stream_, offset, SEEK_SET);
}

bool File::SeekToEnd() {
  if (!stream_) return false;
  if (fault::Hit(fault::kSeek)) return false;
  return os::SeekStream(stream_, 0, SEEK_END);
}

std::optional<uint64_t> File::Tell() {
  if (!stream_) return std::nullopt;
  return os::TellStream(stream_);
}

std::optional<uint64_t> File::Size() {
  if (!stream_) return std::nullopt;
  const std::optional<uint64_t> here = os::TellStream(stream_);
  if (!here || !os::SeekStream(stream_, 0, SEEK_END)) return std::nullopt;
  const std::optional<uint64_t> end = os::TellStream(stream_);
  if (!os::SeekStream(stream_, *here, SEEK_SET)) return std::nullopt;
  return end;
}

bool File::CopyRangeFrom(File& source, uint64_t offset, uint64_t length, std::vector<uint8_t>* scratch,
                         size_t piece_size) {
  if (!stream_ || !source.stream_) return false;
  if (length == 0) return true;
  const std::optional<uint64_t> here = Tell();
  if (!here || !Flush()) return false;
  if (fault::Hit(fault::kWrite)) return false;
  if (!recording::Installed()) {
    switch (os::CopyFileRange(source.stream_, offset, stream_, *here, length)) {
      case os::KernelCopy::kDone: return Seek(*here + length);
      case os::KernelCopy::kFailed: return false;
      case os::KernelCopy::kUnsupported: break;
    }
  }
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(length, piece_size > 0 ? piece_size : 1));
  if (scratch->size() < wanted) scratch->resize(wanted);
  if (!source.Seek(offset)) return false;
  for (uint64_t remaining = length; remaining > 0;) {
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(remaining, scratch->size()));
    if (!source.Read(scratch->data(), piece) || !Write(scratch->data(), piece)) return false;
    remaining -= piece;
  }
  return true;
}

bool File::Flush() {
  if (!stream_) return false;
  if (fault::Hit(fault::kFlush)) return false;
  return std::fflush(stream_) == 0;
}

bool File::Sync() {
  if (!stream_) return false;
  return os::SyncStream(stream_);
}

bool File::Close() {
  if (!stream_) return true;
  const bool injected = fault::Hit(fault::kClose);
  if (recording::Observer* o = recording::Installed()) o->Closed(stream_);
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  return closed && !injected;
}

ReadWholeResult ReadWholeFile(const std::string& path, uint64_t max_bytes, std::vector<uint8_t>* bytes) {
  bytes->clear();
  File file = File::Open(path, File::Mode::kRead);
  if (!file.is_open()) return ReadWholeResult::kCannotOpen;
  const std::optional<uint64_t> size = file.Size();
  if (!size) return ReadWholeResult::kReadFailed;
  if (*size > max_bytes || *size > SIZE_MAX) return ReadWholeResult::kTooLarge;
  try {
    bytes->resize(static_cast<size_t>(*size));
  } catch (const std::bad_alloc&) {
    return ReadWholeResult::kNoMemory;
  }
  if (!bytes->empty() && !file.Read(bytes->data(), bytes->size())) {
    bytes->clear();
    return ReadWholeResult::kReadFailed;
  }
  return ReadWholeResult::kOk;
}

}  // namespace qm
