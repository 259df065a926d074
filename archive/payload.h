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
//   AppendPayloadEntryFromFile(exe, "DATA\\UPDATES.H4R", archive_path); // streamed, any size
//   PayloadReader r;  PayloadReader::Open(exe, &r);
//   for (const PayloadRecord& rec : r.records()) r.ReadBlob(rec, &blob);
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

// True when the bytes end in a payload trailer: a program that already carries a payload and
// so cannot serve as a bare stub.
bool HasPayloadTrailer(std::span<const uint8_t> program);

// The directory offset that a trailer (a file's last 8 bytes) names; nullopt when the bytes are
// not a trailer.
std::optional<uint32_t> DecodePayloadTrailer(std::span<const uint8_t, kPayloadTrailerSize> trailer);

// Adds one entry to the payload of `target` (which must exist), creating the directory and the
// trailer when the file has none. Refuses an empty name, a name of 84 characters or more, a full
// directory and a damaged trailer before anything is written.
Status AppendPayloadEntry(const std::string& target, std::string_view name, std::span<const uint8_t> blob,
                          uint32_t content_size);

// The same, for a program that is in use as it stands (qlmk payload add): the entry is appended
// to a copy written beside `target`, which then takes its place in one step, so that an
// interruption, a power cut included, leaves the program as it was or with the entry.
Status AppendPayloadEntryByCopy(const std::string& target, std::string_view name, std::span<const uint8_t> blob,
                                uint32_t content_size);

// The same as AppendPayloadEntry with the blob taken from the whole file at `source`, copied in pieces (bounded
// memory whatever its size).
Status AppendPayloadEntryFromFile(const std::string& target, std::string_view name, const std::string& source,
                                  uint32_t content_size = 0);

// Compresses `content` with the entry compressor and appends the gzip blob with the content's
// length as its content size.
Status AppendCompressedPayloadEntry(const std::string& target, std::string_view name,
                                    std::span<const uint8_t> content);

// Reads the payload of an executable. Open fails when there is none (no "ZVRT" at the end) and
// when the directory does not fit the file. Records are read as they stand; a blob is only
// read once CheckBlob found it wholly inside the blob area between the directory and the
// trailer, so nothing is ever allocated from a size the file cannot hold.
//
// The append functions above and this reader need no zlib (library qm_payload);
// AppendCompressedPayloadEntry lives with the entry compressor in qm_archive.
class PayloadReader {
 public:
  static Status Open(const std::string& path, PayloadReader* out);

  uint32_t directory_offset() const { return directory_offset_; }
  // The used slots, in slot order.
  const std::vector<PayloadRecord>& records() const { return records_; }
  // The first used slot of that name (ASCII case folded), or nullptr.
  const PayloadRecord* Find(std::string_view name) const;
  uint64_t file_size() const { return size_; }
  // Ok when the record's blob lies wholly between the directory's end and the trailer.
  Status CheckBlob(const PayloadRecord& record) const;
  // The blob's bytes; fails when CheckBlob does.
  Status ReadBlob(const PayloadRecord& record, std::vector<uint8_t>* blob);
  // Copies the blob to `out`'s current position in pieces through `scratch` (grown to at most
  // `piece_size` bytes); fails when CheckBlob does or a read or write fails.
  Status CopyBlobTo(const PayloadRecord& record, File& out, std::vector<uint8_t>* scratch, size_t piece_size);

 private:
  File file_;
  uint64_t size_ = 0;
  uint32_t directory_offset_ = 0;
  std::vector<PayloadRecord> records_;
};

}  // namespace qm
