#include "archive/h4r_reader.h"

#include <algorithm>
#include <cstring>

#include "base/ascii.h"
#include "base/little_endian.h"

namespace qm {

namespace {

// Reads records one after another through a read-ahead buffer, so that a directory of 20,000
// records costs a few large reads instead of 140,000 small ones. Every field is checked against
// the end of the file before it is taken.
class RecordWalker {
 public:
  RecordWalker(File& file, uint64_t file_size, uint64_t start)
      : file_(file), file_size_(file_size), next_(start) {}

  Status Next(EntryRecord* record, uint64_t* position) {
    *position = next_;
    uint8_t fixed[16];
    if (!Take(fixed, sizeof fixed)) return Truncated();
    record->data_offset = LoadU32(fixed);
    record->stored_size = LoadU32(fixed + 4);
    record->content_size = LoadU32(fixed + 8);
    record->time_stamp = LoadU32(fixed + 12);
    for (std::string* s : {&record->name, &record->second, &record->third}) {
      uint8_t length_bytes[2];
      if (!Take(length_bytes, 2)) return Truncated();
      const size_t length = LoadU16(length_bytes);
      if (length > kMaxStringLength) {
        return Status::Fail("a directory record holds a string of " + std::to_string(length) +
                            " bytes (at most " + std::to_string(kMaxStringLength) + " are supported)");
      }
      s->resize(length);
      if (!Take(s->data(), length)) return Truncated();
    }
    uint8_t trailing[4];
    if (!Take(trailing, 4)) return Truncated();
    record->trailing_word = LoadU32(trailing);
    return Status::Ok();
  }

 private:
  static constexpr size_t kChunk = 64 * 1024;

  static Status Truncated() { return Status::Fail("the directory runs past the end of the file"); }

  bool Take(void* out, size_t n) {
    if (n == 0) return true;
    if (next_ > file_size_ || n > file_size_ - next_) return false;
    uint8_t* dst = static_cast<uint8_t*>(out);
    while (n > 0) {
      if (next_ < buf_start_ || next_ >= buf_start_ + buf_.size()) {
        if (!Refill()) return false;
      }
      const size_t at = static_cast<size_t>(next_ - buf_start_);
      const size_t take = std::min(n, buf_.size() - at);
      std::memcpy(dst, buf_.data() + at, take);
      dst += take;
      n -= take;
      next_ += take;
    }
    return true;
  }

  bool Refill() {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kChunk, file_size_ - next_));
    buf_.resize(want);
    buf_start_ = next_;
    if (!file_.Seek(next_) || !file_.Read(buf_.data(), want)) {
      buf_.clear();
      return false;
    }
    return true;
  }

  File& file_;
  uint64_t file_size_;
  uint64_t next_;
  std::vector<uint8_t> buf_;
  uint64_t buf_start_ = 0;
};

bool CountHoldsEntries(uint32_t count) { return count != 0 && count < kEntryCountLimit; }

}  // namespace

uint32_t Directory::Size() const {
  if (!CountHoldsEntries(count)) return 0;
  uint64_t size = kDirectoryCountSize;
  for (const FoundEntry& e : entries) size += e.record.DiskSize();
  return static_cast<uint32_t>(size);
}

Status Archive::Open(const std::string& path, Access access, Archive* out) {
  if (path.empty()) return Status::Fail("no archive path given");
  Archive a;
  a.path_ = path;
  a.file_ = File::Open(path, access == Access::kRead ? File::Mode::kRead : File::Mode::kReadWrite);
  if (!a.file_.is_open()) {
    return Status::Fail(access == Access::kRead ? "cannot open the file" : "cannot open the file for writing");
  }
  uint8_t magic[4];
  const std::optional<uint64_t> size = a.file_.Size();
  if (!size) return Status::Fail("cannot read the file");
  if (!a.file_.Read(magic, 4) || std::memcmp(magic, kH4rMagic, 4) != 0) {
    return Status::Fail("not an H4R archive");
  }
  a.size_ = *size;
  *out = std::move(a);
  return Status::Ok();
}

bool Archive::RefreshSize() {
  const std::optional<uint64_t> size = file_.Size();
  if (size) size_ = *size;
  return size.has_value();
}

Status Archive::ReadDirectoryStart(uint32_t* offset, uint32_t* count) {
  uint8_t word[4];
  if (size_ < kH4rHeaderSize || !file_.Seek(kDirectoryOffsetField) || !file_.Read(word, 4)) {
    return Status::Fail("the archive header is cut short");
  }
  *offset = LoadU32(word);
  if (static_cast<uint64_t>(*offset) + kDirectoryCountSize > size_) {
    return Status::Fail("the directory offset points past the end of the file");
  }
  if (!file_.Seek(*offset) || !file_.Read(word, 4)) return Status::Fail("cannot read the directory");
  *count = LoadU32(word);
  return Status::Ok();
}

Status Archive::FindEntry(std::string_view name, FoundEntry* found) {
  if (name.empty()) return Status::Fail("no entry name given");
  uint32_t offset = 0, count = 0;
  if (Status s = ReadDirectoryStart(&offset, &count); !s) return s;
  if (!CountHoldsEntries(count)) return Status::Fail("the archive holds no entries");
  RecordWalker walker(file_, size_, static_cast<uint64_t>(offset) + kDirectoryCountSize);
  for (uint32_t i = 0; i < count; ++i) {
    if (Status s = walker.Next(&found->record, &found->record_position); !s) return s;
    if (AsciiStartsWithNoCase(found->record.name, name)) return Status::Ok();
  }
  return Status::Fail("no entry named '" + std::string(name) + "'");
}

Status Archive::ReadDirectory(Directory* directory) {
  *directory = Directory{};
  if (Status s = ReadDirectoryStart(&directory->offset, &directory->count); !s) return s;
  if (!CountHoldsEntries(directory->count)) return Status::Ok();
  // Each record takes at least 26 bytes: a count the file cannot hold is refused before
  // anything is reserved for it.
  const uint64_t room = size_ - directory->offset - kDirectoryCountSize;
  if (static_cast<uint64_t>(directory->count) * kRecordFixedSize > room) {
    return Status::Fail("the directory runs past the end of the file");
  }
  directory->entries.resize(directory->count);
  RecordWalker walker(file_, size_, static_cast<uint64_t>(directory->offset) + kDirectoryCountSize);
  for (FoundEntry& e : directory->entries) {
    if (Status s = walker.Next(&e.record, &e.record_position); !s) {
      directory->entries.clear();
      return s;
    }
  }
  return Status::Ok();
}

uint32_t Archive::DirectorySize() {
  Directory directory;
  if (!ReadDirectory(&directory)) return 0;
  return directory.Size();
}

Status Archive::ReadStoredBytes(const EntryRecord& record, std::vector<uint8_t>* bytes) {
  const uint64_t length = record.PayloadLength();
  if (static_cast<uint64_t>(record.data_offset) + length > size_) {
    return Status::Fail("the payload of '" + record.name + "' lies past the end of the file");
  }
  bytes->resize(static_cast<size_t>(length));
  if (!file_.Seek(record.data_offset) || !file_.Read(bytes->data(), bytes->size())) {
    bytes->clear();
    return Status::Fail("cannot read the payload of '" + record.name + "'");
  }
  return Status::Ok();
}

Status Archive::ReadPayload(const EntryRecord& record, std::vector<uint8_t>* content, DecodeReport* report) {
  if (record.stored_size == 0) {
    // Raw content, stored as it is.
    if (Status s = ReadStoredBytes(record, content); !s) return s;
    if (report) *report = DecodeReport{content->size(), false, false};
    return Status::Ok();
  }
  if (record.content_size > MaxContentForStored(record.stored_size)) {
    return Status::Fail("the content size of '" + record.name + "' is more than its payload can hold");
  }
  std::vector<uint8_t> stored;
  if (Status s = ReadStoredBytes(record, &stored); !s) return s;
  if (Status s = DecodeStoredPayload(stored, record.content_size, content, report); !s) {
    return Status::Fail("'" + record.name + "': " + s.why());
  }
  return Status::Ok();
}

Status Archive::Close() {
  if (!file_.Close()) return Status::Fail("cannot finish writing the file");
  return Status::Ok();
}

const FoundEntry* FindInDirectory(const Directory& directory, std::string_view name) {
  if (name.empty()) return nullptr;
  for (const FoundEntry& e : directory.entries) {
    if (AsciiStartsWithNoCase(e.record.name, name)) return &e;
  }
  return nullptr;
}

Status LoadEntry(const std::string& path, std::string_view name, std::vector<uint8_t>* content) {
  if (name.empty()) return Status::Fail("no entry name given");
  Archive archive;
  if (Status s = Archive::Open(path, Archive::Access::kRead, &archive); !s) return s;
  FoundEntry found;
  if (Status s = archive.FindEntry(name, &found); !s) return s;
  return archive.ReadPayload(found.record, content);
}

}  // namespace qm
