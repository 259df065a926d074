// Appending a compressed entry: the entry compressor (zlib) in front of the plain append.
#include "archive/entry_compressor.h"
#include "archive/payload.h"

namespace qm {

Status AppendCompressedPayloadEntry(const std::string& target, std::string_view name,
                                    std::span<const uint8_t> content) {
  if (name.empty()) return Status::Fail("no entry name given");
  std::vector<uint8_t> blob;
  if (Status s = CompressEntry(content, &blob); !s) return s;
  return AppendPayloadEntry(target, name, blob, static_cast<uint32_t>(content.size()));
}

}  // namespace qm
