#include "archive/h4r_reader.h"

#include <algorithm>
#include <cstring>

#include "base/ascii.h"
#include "base/byte_cursor.h"

namespace qm {

namespace {

// Reads records one after another through a window of the file, so that a directory of 20,000
// records costs a few large reads instead of 140,000 small ones. Each record is decoded from the
// window; one that runs past the window's end is decoded again from a window that starts with
// it, and one that runs past the end of the file is refused.
class RecordWalker {
 public:
  RecordWalker(File& file, uint64_t file_size, uint64_t start) : file_(file), file_size_(file_size), next_(start) {}

  Status Next(EntryRecord* record, uint64_t* position) {
    *position = next_;
    for (bool refilled = false;; refilled = true) {
      if (refilled || next_ < window_start_ || next_ - window_start_ > window_.size()) {
        if (!Refill()) return Truncated();
      }
      ByteReader reader(window_, static_cast<size_t>(next_ - window_start_));
      const size_t begin = reader.position();
      Status s = DecodeRecord(reader, record);
      if (s) {
        next_ += reader.position() - begin;
        return s;
      }
      // A record is far smaller than a window: once the window starts with it, running past
      // the window's end means running past the end of the file.
      if (!reader.overrun() || refilled || window_start_ + window_.size() == file_size_) return s;
    }
  }

 private:
  static constexpr size_t kWindow = 64 * 1024;
  static_assert(kRecordFixedSize + 3 * kMaxStringLength < kWindow);

  static Status Truncated() { return Status::Fail("the directory runs past the end of the file"); }

  bool Refill() {
    if (next_ >= file_size_) return false;
    window_.resize(static_cast<size_t>(std::min<uint64_t>(kWindow, file_size_ - next_)));
    window_start_ = next_;
    if (!file_.Seek(next_) || !file_.Read(window_.data(), window_.size())) {
      window_.clear();
      return false;
    }
    return true;
  }

  File& file_;
  uint64_t file_size_;
  uint64_t next_;
  std::vector<uint8_t> window_;
  uint64_t window_start_ = 0;
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
  *offset = ByteReader(word).ReadU32();
  if (static_cast<uint64_t>(*offset) + kDirectoryCountSize > size_) {
    return Status::Fail("the directory offset points past the end of the file");
  }
  if (!file_.Seek(*offset) || !file_.Read(word, 4)) return Status::Fail("cannot read the directory");
  *count = ByteReader(word).ReadU32();
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
