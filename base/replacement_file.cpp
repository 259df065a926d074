#include "base/replacement_file.h"

#include <optional>
#include <utility>
#include <vector>

#include "base/os.h"
#include "base/path.h"

namespace qm {

namespace {

// Pieces in which CreateCopy copies where the system cannot copy in the kernel.
constexpr size_t kCopyPieceSize = 1 << 20;

}  // namespace

ReplacementFile::~ReplacementFile() { Abandon(); }

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : file_(std::move(other.file_)),
      temp_path_(std::exchange(other.temp_path_, std::string())),
      target_(std::move(other.target_)) {}

ReplacementFile& ReplacementFile::operator=(ReplacementFile&& other) noexcept {
  if (this != &other) {
    Abandon();
    file_ = std::move(other.file_);
    temp_path_ = std::exchange(other.temp_path_, std::string());
    target_ = std::move(other.target_);
  }
  return *this;
}

Status ReplacementFile::Create(const std::string& target, ReplacementFile* out) {
  if (target.empty()) return Status::Fail("no file name given");
  const std::optional<std::string> temp = os::CreateTempFileIn(FileSystemFolderOf(target), kTempFilePrefix);
  if (!temp) return Status::Fail("cannot create a file beside " + target);
  ReplacementFile r;
  r.temp_path_ = *temp;
  r.target_ = target;
  r.file_ = File::Open(*temp, File::Mode::kCreate);
  if (!r.file_.is_open()) return Status::Fail("cannot write " + *temp);
  *out = std::move(r);
  return Status::Ok();
}

Status ReplacementFile::CreateCopy(const std::string& target, ReplacementFile* out) {
  File original = File::Open(target, File::Mode::kRead);
  if (!original.is_open()) return Status::Fail("cannot open " + target);
  const std::optional<uint64_t> size = original.Size();
  if (!size) return Status::Fail("cannot read " + target);
  ReplacementFile r;
  if (Status s = Create(target, &r); !s) return s;
  std::vector<uint8_t> scratch;
  if (!r.file_.CopyRangeFrom(original, 0, *size, &scratch, kCopyPieceSize)) {
    return Status::Fail("cannot copy " + target + " to " + r.temp_path_);
  }
  *out = std::move(r);
  return Status::Ok();
}

Status ReplacementFile::Commit(std::string* folder_warning) {
  if (!pending()) return Status::Fail("nothing to put in place");
  if (!file_.is_open()) file_ = File::Open(temp_path_, File::Mode::kReadWrite);
  const bool synced = file_.is_open() && file_.Sync();
  const bool closed = file_.Close();
  if (!synced || !closed) {
    Abandon();
    return Status::Fail("cannot finish writing " + target_);
  }
  os::ClearReadOnly(target_);  // Windows cannot replace a read-only file
  if (!os::MatchFileMode(temp_path_, target_)) {
    Abandon();
    return Status::Fail("cannot give the new " + target_ + " its permissions");
  }
  if (!os::ReplaceFileWith(target_, temp_path_)) {
    Abandon();
    return Status::Fail("cannot put the new file in place of " + target_);
  }
  temp_path_.clear();
  if (!os::SyncFolderOf(target_)) {
    const std::string why = "cannot flush the folder of " + target_ + " to the disk";
    if (!folder_warning) return Status::Fail(why);
    *folder_warning = why;
  }
  return Status::Ok();
}

void ReplacementFile::Abandon() {
  (void)file_.Close();  // best effort: the temporary file is removed next
  if (!temp_path_.empty()) os::RemoveFile(temp_path_);
  temp_path_.clear();
}

}  // namespace qm
