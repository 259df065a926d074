// The entry compressor: content in, gzip payload out, exactly as H4R archives store it.
//
//   std::vector<uint8_t> payload;
//   Status s = CompressEntry(content, &payload);   // payload.size() is the stored size
//
// The content goes through zlib's gzip file writer at level 6 (mode "wb6") into a temporary
// file named "QLM..." in the user's temp folder, which is read back whole and deleted at once,
// whether or not anything failed. Contents of any size are accepted.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/status.h"

namespace qm {

Status CompressEntry(std::span<const uint8_t> content, std::vector<uint8_t>* payload);

}  // namespace qm
