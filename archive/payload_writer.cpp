// Appending entries to the payload of a stub program. Needs no zlib, so the backup can link it
// without the archive code.
#include <cstring>
#include <functional>

#include "archive/payload.h"
#include "base/byte_cursor.h"
#include "base/little_endian.h"
#include "base/replacement_file.h"

namespace qm {

namespace {

// Pieces in which a blob is copied from a file into the payload.
constexpr size_t kCopyPieceSize = 1 << 20;

Status WriteFailed() { return Status::Fail("cannot write the payload"); }

// Adds one entry whose `blob_size` bytes `write_blob` writes at the file's current position.
Status AppendEntry(const std::string& target, std::string_view name, uint64_t blob_size, uint32_t content_size,
                   const std::function<bool(File&)>& write_blob) {
  if (name.empty()) return Status::Fail("no entry name given");
  if (name.size() > kPayloadMaxNameLength) {
    return Status::Fail("the name '" + std::string(name) + "' is longer than " +
                        std::to_string(kPayloadMaxNameLength) + " characters");
  }
  File file = File::Open(target, File::Mode::kReadWrite);
  if (!file.is_open()) return Status::Fail("cannot open the file for writing");
  const std::optional<uint64_t> size = file.Size();
  if (!size) return Status::Fail("cannot read the file");

  // Find the directory and the blob position (over the old trailer), or plan a new directory.
  std::optional<uint32_t> existing;
  if (*size >= kPayloadTrailerSize) {
    uint8_t trailer[kPayloadTrailerSize];
    if (!file.Seek(*size - kPayloadTrailerSize) || !file.Read(trailer, sizeof trailer)) {
      return Status::Fail("cannot read the file");
    }
    existing = DecodePayloadTrailer(trailer);
  }
  const bool has_payload = existing.has_value();
  uint64_t directory = *size;
  uint64_t blob_at = *size + kPayloadDirectorySize;
  std::vector<uint8_t> slots(kPayloadDirectorySize, 0);
  if (has_payload) {
    directory = *existing;
    blob_at = *size - kPayloadTrailerSize;
    if (directory + kPayloadDirectorySize > blob_at) return Status::Fail("the payload directory is damaged");
    if (!file.Seek(directory) || !file.Read(slots.data(), slots.size())) {
      return Status::Fail("cannot read the payload directory");
    }
  }
  size_t slot = 0;  // the first free one: its data offset is 0
  while (slot < kPayloadSlotCount && ByteReader(slots, slot * kPayloadSlotSize).ReadU32() != 0) ++slot;
  if (slot == kPayloadSlotCount) return Status::Fail("all 100 payload slots are used");
  if (blob_at + blob_size + kPayloadTrailerSize > UINT32_MAX) {
    return Status::Fail("the payload would grow past 4 GiB");
  }

  uint8_t* record = slots.data() + slot * kPayloadSlotSize;
  StoreU32(record, static_cast<uint32_t>(blob_at));
  StoreU32(record + 4, static_cast<uint32_t>(blob_size));
  StoreU32(record + 8, content_size);
  std::memset(record + 12, 0, kPayloadNameFieldSize);
  std::memcpy(record + 12, name.data(), name.size());

  // The blob and the trailer first, the slot last: a slot never names a blob that is not there.
  uint8_t new_trailer[kPayloadTrailerSize];
  std::memcpy(new_trailer, kPayloadTrailerMagic, 4);
  StoreU32(new_trailer + 4, static_cast<uint32_t>(directory));
  if (!has_payload) {
    const std::vector<uint8_t> empty(kPayloadDirectorySize, 0);
    if (!file.Seek(directory) || !file.Write(empty.data(), empty.size())) return WriteFailed();
  }
  if (!file.Seek(blob_at) || !write_blob(file) || !file.Write(new_trailer, sizeof new_trailer)) {
    return WriteFailed();
  }
  if (!file.Seek(directory + slot * kPayloadSlotSize) || !file.Write(record, kPayloadSlotSize) || !file.Close()) {
    return WriteFailed();
  }
  return Status::Ok();
}

}  // namespace

Status AppendPayloadEntry(const std::string& target, std::string_view name, std::span<const uint8_t> blob,
                          uint32_t content_size) {
  return AppendEntry(target, name, blob.size(), content_size,
                     [&](File& file) { return file.Write(blob.data(), blob.size()); });
}

Status AppendPayloadEntryByCopy(const std::string& target, std::string_view name, std::span<const uint8_t> blob,
                                uint32_t content_size) {
  ReplacementFile copy;
  if (Status s = ReplacementFile::CreateCopy(target, &copy); !s) return s;
  if (!copy.file().Close()) return Status::Fail("cannot write " + copy.temp_path());
  if (Status s = AppendPayloadEntry(copy.temp_path(), name, blob, content_size); !s) return s;
  return copy.Commit();
}

Status AppendPayloadEntryFromFile(const std::string& target, std::string_view name, const std::string& source,
                                  uint32_t content_size) {
  File in = File::Open(source, File::Mode::kRead);
  if (!in.is_open()) return Status::Fail("cannot open " + source);
  const std::optional<uint64_t> size = in.Size();
  if (!size) return Status::Fail("cannot read " + source);
  std::vector<uint8_t> scratch;  // only when the system cannot copy in the kernel
  const Status s = AppendEntry(target, name, *size, content_size, [&](File& file) {
    return file.CopyRangeFrom(in, 0, *size, &scratch, kCopyPieceSize);
  });
  if (!s) return s;
  // The copy took exactly the length measured before; a source that changed meanwhile would
  // leave a blob that is not the file.
  const std::optional<uint64_t> after = in.Size();
  if (!after || *after != *size) return Status::Fail(source + " changed while it was copied");
  return Status::Ok();
}

}  // namespace qm
