#include "base/durable_file.h"

#include "base/file.h"
#include "base/os.h"

namespace qm {

Status PutReplacementInPlace(const std::string& target, const std::string& holding) {
  if (!os::ReplaceFileWith(target, holding)) {
    os::RemoveFile(holding);
    return Status::Fail("cannot put the new file in place of " + target);
  }
  if (!os::SyncFolderOf(target)) return Status::Fail("cannot flush the folder of " + target + " to the disk");
  return Status::Ok();
}

Status WriteFileReplacing(const std::string& target, const std::string& holding, std::span<const uint8_t> bytes) {
  File file = File::Open(holding, File::Mode::kCreate);
  if (!file.is_open()) return Status::Fail("cannot create " + holding);
  const bool written = file.Write(bytes.data(), bytes.size()) && file.Sync();
  if (!file.Close() || !written) {
    os::RemoveFile(holding);
    return Status::Fail("cannot write " + holding);
  }
  return PutReplacementInPlace(target, holding);
}

}  // namespace qm
