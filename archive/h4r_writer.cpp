#include "archive/h4r_writer.h"

#include <ctime>

#include "archive/entry_compressor.h"
#include "base/file.h"
#include "base/os.h"

namespace qm {

namespace {

uint32_t Now() { return static_cast<uint32_t>(std::time(nullptr)); }

Status WriteFailed(const char* what) { return Status::Fail(std::string("cannot write ") + what); }

bool Overlaps(uint64_t a_start, uint64_t a_length, uint64_t b_start, uint64_t b_length) {
  return a_length != 0 && b_length != 0 && a_start < b_start + b_length && b_start < a_start + a_length;
}

// The old payload's bytes may be reused only when they belong to this entry alone: inside the
// file, after the header, clear of the directory and of every other entry's payload. A damaged
// or crafted archive could otherwise have the overwrite destroy the header or other entries.
bool OldPayloadIsReusable(const Archive& archive, const Directory& directory, const FoundEntry& found) {
  const EntryRecord& r = found.record;
  const uint64_t start = r.data_offset;
  const uint64_t length = r.stored_size;
  if (length == 0 || start < kH4rHeaderSize || start + length > archive.size()) return false;
  if (Overlaps(start, length, directory.offset, directory.Size())) return false;
  for (const FoundEntry& other : directory.entries) {
    if (other.record_position == found.record_position) continue;
    if (Overlaps(start, length, other.record.data_offset, other.record.PayloadLength())) return false;
  }
  return true;
}

}  // namespace

Status CreateArchive(const std::string& path) {
  File file = File::Open(path, File::Mode::kCreate);
  if (!file.is_open()) return Status::Fail("cannot create the file");
  std::vector<uint8_t> bytes(kH4rMagic, kH4rMagic + 4);
  AppendU32(&bytes, kH4rHeaderSize);
  AppendU32(&bytes, 0);
  if (!file.Write(bytes.data(), bytes.size()) || !file.Close()) return WriteFailed("the archive");
  return Status::Ok();
}

Status ReplaceEntry(Archive& archive, const Directory& directory, const FoundEntry& found,
                    std::span<const uint8_t> payload, uint32_t content_size) {
  File& file = archive.file();
  EntryRecord record = found.record;
  if (payload.size() > record.stored_size || !OldPayloadIsReusable(archive, directory, found)) {
    // A larger payload goes to the end of the file; the old one becomes dead space.
    if (!file.SeekToEnd()) return Status::Fail("cannot seek in the archive");
    const std::optional<uint64_t> end = file.Tell();
    if (!end) return Status::Fail("cannot seek in the archive");
    if (*end + payload.size() > UINT32_MAX) return Status::Fail("the archive would grow past 4 GiB");
    record.data_offset = static_cast<uint32_t>(*end);
  }
  record.stored_size = static_cast<uint32_t>(payload.size());
  record.content_size = content_size;
  record.time_stamp = Now();
  if (record.trailing_word == kTrailingWordRaw && LooksLikeGzip(payload)) record.trailing_word = kTrailingWordGzip;

  std::vector<uint8_t> encoded;
  EncodeRecord(record, &encoded);
  // The payload first: until the record is rewritten it still points at the old bytes.
  if (!file.Seek(record.data_offset) || !file.Write(payload.data(), payload.size())) {
    return WriteFailed("the payload");
  }
  if (!file.Seek(found.record_position) || !file.Write(encoded.data(), encoded.size())) {
    return WriteFailed("the directory record");
  }
  return Status::Ok();
}

Status AddEntry(Archive& archive, const Directory& old, std::string_view name, std::span<const uint8_t> payload,
                uint32_t content_size, uint32_t trailing_word) {
  if (name.size() > kMaxStringLength) return Status::Fail("the entry name is longer than 259 bytes");
  if (old.count >= kMaxEntryCount) {
    return Status::Fail("the directory is full (" + std::to_string(old.count) + " entries)");
  }
  File& file = archive.file();
  if (!file.SeekToEnd()) return Status::Fail("cannot seek in the archive");
  const std::optional<uint64_t> end = file.Tell();
  if (!end) return Status::Fail("cannot seek in the archive");

  EntryRecord added;
  added.data_offset = static_cast<uint32_t>(*end);
  added.stored_size = static_cast<uint32_t>(payload.size());
  added.content_size = content_size;
  added.time_stamp = Now();
  added.name = std::string(name);
  added.trailing_word = trailing_word;

  std::vector<uint8_t> directory;
  AppendU32(&directory, static_cast<uint32_t>(old.entries.size() + 1));
  for (const FoundEntry& e : old.entries) EncodeRecord(e.record, &directory);
  EncodeRecord(added, &directory);

  const uint64_t directory_offset = *end + payload.size();
  if (directory_offset + directory.size() > UINT32_MAX) return Status::Fail("the archive would grow past 4 GiB");

  // Payload, then the complete new directory, and only then the header's pointer to it.
  if (!file.Write(payload.data(), payload.size())) return WriteFailed("the payload");
  if (!file.Write(directory.data(), directory.size())) return WriteFailed("the new directory");
  uint8_t offset_bytes[4];
  StoreU32(offset_bytes, static_cast<uint32_t>(directory_offset));
  if (!file.Seek(kDirectoryOffsetField) || !file.Write(offset_bytes, 4)) return WriteFailed("the archive header");
  return Status::Ok();
}

Status PutStoredEntry(const std::string& path, std::string_view name, std::span<const uint8_t> payload,
                      uint32_t content_size, uint32_t new_entry_trailing_word) {
  if (name.empty()) return Status::Fail("no entry name given");
  if (payload.empty()) return Status::Fail("the payload is empty");
  if (payload.size() > UINT32_MAX) return Status::Fail("the payload is too large for an archive");
  os::ClearReadOnly(path);  // a failure shows when the archive is opened for writing
  Archive archive;
  if (Status s = Archive::Open(path, Archive::Access::kReadWrite, &archive); !s) return s;
  // The whole directory is read first: a lookup that failed to read must not pass for "not
  // there", or the put would add a second entry of that name behind the first.
  Directory directory;
  if (Status s = archive.ReadDirectory(&directory); !s) return s;
  const FoundEntry* found = FindInDirectory(directory, name);
  Status put = found ? ReplaceEntry(archive, directory, *found, payload, content_size)
                     : AddEntry(archive, directory, name, payload, content_size, new_entry_trailing_word);
  Status closed = archive.Close();
  if (!put) return put;
  return closed;
}

Status PutEntry(const std::string& path, std::string_view name, std::span<const uint8_t> content,
                uint32_t new_entry_trailing_word) {
  if (name.empty()) return Status::Fail("no entry name given");
  std::vector<uint8_t> payload;
  if (Status s = CompressEntry(content, &payload); !s) return s;
  return PutStoredEntry(path, name, payload, static_cast<uint32_t>(content.size()), new_entry_trailing_word);
}

}  // namespace qm
