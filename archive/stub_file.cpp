#include "archive/stub_file.h"

#include <cstring>
#include <utility>
#include <vector>

#include "archive/payload.h"
#include "base/little_endian.h"

namespace qm {

Status StartStubFile(std::span<const uint8_t> stub, const std::string& out_path, const std::string& what,
                     ReplacementFile* out) {
  if (stub.empty()) return Status::Fail("the " + what + "'s program is missing");
  if (HasPayloadTrailer(stub)) return Status::Fail("the " + what + "'s program already carries a payload");
  if (stub.size() + kPayloadDirectorySize + kPayloadTrailerSize > UINT32_MAX) {
    return Status::Fail("the " + what + "'s program is too large");
  }
  std::vector<uint8_t> payload(kPayloadDirectorySize + kPayloadTrailerSize, 0);
  uint8_t* trailer = payload.data() + kPayloadDirectorySize;
  std::memcpy(trailer, kPayloadTrailerMagic, 4);
  StoreU32(trailer + 4, static_cast<uint32_t>(stub.size()));

  ReplacementFile file;
  if (Status s = ReplacementFile::Create(out_path, &file); !s) return s;
  if (!file.file().Write(stub.data(), stub.size()) || !file.file().Write(payload.data(), payload.size()) ||
      !file.file().Close()) {
    return Status::Fail("cannot write " + file.temp_path());
  }
  *out = std::move(file);
  return Status::Ok();
}

}  // namespace qm
