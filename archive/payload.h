// The payload appended to the two stub programs (the patcher and the restore tool).
//
// Layout after the executable's own E bytes (integers u32 little-endian):
//
//   D = E        9,600  directory: 100 slots of 96 bytes
//   D + 9,600    ...    the blobs, back to back, in the order they were added
//   end - 8      4      trailer magic "ZVRT"
//   end - 4      4      directory offset D
//
//   slot         4  data offset of the blob; 0 marks a free slot
//                4  stored size: the blob's length
//                4  content size: length before compression, or 0 for a blob stored as it is
//                84 name, NUL-terminated (at most 83 characters), zero-padded
//
// Appending writes the blob over the old trailer and a new trailer after it, then fills the
// first free slot; the directory never moves once it exists. Readers visit the slots in order
// and skip free ones; used slots need not be contiguous.
//
//   AppendPayloadEntry(exe, "DATA\\UPDATES.H4R", bytes, 0);
//   AppendCompressedPayloadEntry(exe, "table.heroes.h4d", content);   // gzip blob
//   PayloadReader r;  PayloadReader::Open(exe, &r);
//   for (const PayloadRecord& rec : r.records()) r.ReadBlob(rec, &blob);
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file.h"
#include "base/status.h"

namespace qm {

constexpr size_t kPayloadSlotCount = 100;
constexpr size_t kPayloadSlotSize = 96;
constexpr size_t kPayloadNameFieldSize = 84;
constexpr size_t kPayloadMaxNameLength = kPayloadNameFieldSize - 1;
constexpr size_t kPayloadDirectorySize = kPayloadSlotCount * kPayloadSlotSize;  // 9,600
constexpr uint8_t kPayloadTrailerMagic[4] = {'Z', 'V', 'R', 'T'};
constexpr size_t kPayloadTrailerSize = 8;

struct PayloadRecord {
  size_t slot = 0;
  uint32_t data_offset = 0;
  uint32_t stored_size = 0;
  uint32_t content_size = 0;  // 0 for a blob stored as it is
  std::string name;
};

// Adds one entry to the payload of `target` (which must exist), creating the directory and the
// trailer when the file has none. Refuses an empty name, a name of 84 characters or more, a full
// directory and a damaged trailer before anything is written.
Status AppendPayloadEntry(const std::string& target, std::string_view name, std::span<const uint8_t> blob,
                          uint32_t content_size);

// Compresses `content` with the entry compressor and appends the gzip blob with the content's
// length as its content size.
Status AppendCompressedPayloadEntry(const std::string& target, std::string_view name,
                                    std::span<const uint8_t> content);

// Reads the payload of an executable. Open fails when there is none (no "ZVRT" at the end) and
// when the directory does not fit the file.
class PayloadReader {
 public:
  static Status Open(const std::string& path, PayloadReader* out);

  uint32_t directory_offset() const { return directory_offset_; }
  // The used slots, in slot order.
  const std::vector<PayloadRecord>& records() const { return records_; }
  // The first used slot of that name (ASCII case folded), or nullptr.
  const PayloadRecord* Find(std::string_view name) const;
  // The blob's bytes; fails when it does not lie inside the file.
  Status ReadBlob(const PayloadRecord& record, std::vector<uint8_t>* blob);

 private:
  File file_;
  uint64_t size_ = 0;
  uint32_t directory_offset_ = 0;
  std::vector<PayloadRecord> records_;
};

}  // namespace qm
