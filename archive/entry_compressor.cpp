#include "archive/entry_compressor.h"

#include <zlib.h>

#include <algorithm>
#include <string>

#include "archive/h4r_format.h"
#include "base/file.h"
#include "base/os.h"

namespace qm {

namespace {

// Deletes the temporary file when the compression is over, however it ended.
class TempFileGuard {
 public:
  explicit TempFileGuard(std::string path) : path_(std::move(path)) {}
  ~TempFileGuard() { os::RemoveFile(path_); }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

Status WriteGzipFile(const std::string& path, std::span<const uint8_t> content) {
  gzFile gz = gzopen(path.c_str(), "wb6");
  if (!gz) return Status::Fail("cannot open the compressor's temporary file");
  bool written = true;
  // gzwrite takes an unsigned int length; large contents go in working-buffer pieces.
  for (size_t at = 0; at < content.size() && written;) {
    const size_t piece = std::min(content.size() - at, kWorkingBufferSize);
    written = gzwrite(gz, content.data() + at, static_cast<unsigned>(piece)) == static_cast<int>(piece);
    at += piece;
  }
  const bool closed = gzclose(gz) == Z_OK;
  if (!written || !closed) return Status::Fail("cannot write the compressor's temporary file");
  return Status::Ok();
}

Status ReadCompressedFile(const std::string& path, std::vector<uint8_t>* bytes) {
  switch (ReadWholeFile(path, UINT32_MAX, bytes)) {
    case ReadWholeResult::kOk: return Status::Ok();
    case ReadWholeResult::kCannotOpen: return Status::Fail("cannot reopen the compressor's temporary file");
    default: return Status::Fail("cannot read the compressor's temporary file");
  }
}

}  // namespace

Status CompressEntry(std::span<const uint8_t> content, std::vector<uint8_t>* payload) {
  payload->clear();
  if (content.size() > UINT32_MAX) return Status::Fail("the content is too large for an archive entry");
  const std::optional<std::string> temp_path = os::CreateTempFile(kTempFilePrefix);
  if (!temp_path) return Status::Fail("cannot create a temporary file in the temp folder");
  TempFileGuard temp(*temp_path);
  if (Status s = WriteGzipFile(temp.path(), content); !s) return s;
  if (Status s = ReadCompressedFile(temp.path(), payload); !s) return s;
  if (payload->empty()) return Status::Fail("the compressor produced nothing");
  return Status::Ok();
}

}  // namespace qm
