#include "archive/h4r_writer.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <optional>

#include "archive/entry_compressor.h"
#include "base/file.h"
#include "base/little_endian.h"
#include "base/os.h"
#include "base/replacement_file.h"

namespace qm {

namespace {

// Pieces in which an unchanged-looking payload is compared with the bytes in the file.
constexpr size_t kComparePieceSize = 1 << 20;

uint32_t Now() { return static_cast<uint32_t>(std::time(nullptr)); }

Status WriteFailed(const char* what) { return Status::Fail(std::string("cannot write ") + what); }

// Where new bytes may go without touching anything the archive uses: the gaps between the
// ranges that the header, the directory and the payloads take inside the file, and everything
// from the end of the file on. Bytes past the end belong to no entry, even to a damaged record
// that claims them (else one such claim of gigabytes would make every later put grow the file
// past it, or fail). Each block takes the smallest gap it fits, else the end, so that the space
// superseded by one save is filled by the next instead of the file growing every time.
class FreeSpace {
 public:
  struct Range {
    uint64_t start = 0;
    uint64_t end = 0;
  };

  FreeSpace(std::vector<Range> used, uint64_t file_size) : end_(file_size) {
    for (Range& r : used) r.end = std::min(r.end, file_size);
    std::erase_if(used, [](const Range& r) { return r.start >= r.end; });
    std::sort(used.begin(), used.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    uint64_t at = 0;
    for (const Range& r : used) {
      if (r.start > at) gaps_.push_back({at, r.start});
      at = std::max(at, r.end);
    }
    if (at < file_size) gaps_.push_back({at, file_size});
  }

  // The offset for `length` new bytes, or nullopt when they would end past 4 GiB (nothing is
  // taken then).
  std::optional<uint32_t> Take(uint64_t length) {
    Range* best = nullptr;
    for (Range& g : gaps_) {
      if (g.end - g.start >= length && (!best || g.end - g.start < best->end - best->start)) best = &g;
    }
    const uint64_t at = best ? best->start : end_;
    if (at + length > UINT32_MAX) return std::nullopt;
    (best ? best->start : end_) += length;
    return static_cast<uint32_t>(at);
  }

 private:
  std::vector<Range> gaps_;
  uint64_t end_;
};

// Whether the bytes at `offset` equal `bytes`, read in pieces; nullopt when they cannot be read.
std::optional<bool> FileBytesEqual(File& file, uint64_t offset, std::span<const uint8_t> bytes) {
  if (!file.Seek(offset)) return std::nullopt;
  std::vector<uint8_t> piece(std::min(bytes.size(), kComparePieceSize));
  for (size_t at = 0; at < bytes.size();) {
    const size_t n = std::min(piece.size(), bytes.size() - at);
    if (!file.Read(piece.data(), n)) return std::nullopt;
    if (std::memcmp(piece.data(), bytes.data() + at, n) != 0) return false;
    at += n;
  }
  return true;
}

// The new state of the archive, worked out in memory before the file is touched: the records
// of the new directory (the old ones in their order, changed where a put replaced them, then
// the added ones) and the payloads that must be written, each placed where nothing the old
// archive uses lies. Puts follow one another as separate puts would (the same lookups, so a
// name put twice ends with the second payload), but the archive changes only when the header
// names the new directory.
class PutPlan {
 public:
  PutPlan(Archive& archive, const Directory& old) : archive_(archive), space_(UsedRanges(old), archive.size()) {
    next_.entries = old.entries;
    stored_count_ = old.count;
  }

  Status Put(const StoredEntry& entry, uint32_t now) {
    if (entry.name.empty()) return Status::Fail("no entry name given");
    if (entry.payload.empty()) return Status::Fail("the payload is empty");
    if (entry.payload.size() > UINT32_MAX) return Status::Fail("the payload is too large for an archive");
    const FoundEntry* hit = FindInDirectory(next_, entry.name);
    const std::optional<size_t> found =
        hit ? std::optional<size_t>(static_cast<size_t>(hit - next_.entries.data())) : std::nullopt;
    if (!found && entry.name.size() > kMaxStringLength) {
      return Status::Fail("the entry name is longer than 259 bytes");
    }
    // A count of 20,000 or more holds no entries but still leaves no room for one.
    const uint64_t count = next_.entries.empty() ? stored_count_ : next_.entries.size();
    if (!found && count >= kMaxEntryCount) {
      return Status::Fail("the directory is full (" + std::to_string(count) + " entries)");
    }
    const size_t index = found ? *found : next_.entries.size();
    EntryRecord record;
    if (found) {
      record = next_.entries[index].record;
    } else {
      record.name = std::string(entry.name);
      record.trailing_word = entry.new_entry_trailing_word;
    }
    bool unchanged = false;
    if (found) {
      const std::optional<bool> holds = HoldsAlready(index, record, entry.payload);
      if (!holds) {
        unreadable_ = Status::Fail("cannot read the payload of '" + record.name + "'");
        return unreadable_;
      }
      unchanged = *holds;
    }
    if (!unchanged) {
      const std::optional<uint32_t> at = space_.Take(entry.payload.size());
      if (!at) return Status::Fail("the archive would grow past 4 GiB");
      record.data_offset = *at;
      if (new_payloads_.size() <= index) new_payloads_.resize(index + 1);
      new_payloads_[index] = entry.payload;
    }
    record.stored_size = static_cast<uint32_t>(entry.payload.size());
    record.content_size = entry.content_size;
    record.time_stamp = now;
    // The game would read a gzip stream under the raw mark as plain bytes.
    if (record.trailing_word == kTrailingWordRaw && LooksLikeGzip(entry.payload)) {
      record.trailing_word = kTrailingWordGzip;
    }
    if (found) {
      next_.entries[index].record = std::move(record);
    } else {
      next_.entries.push_back(FoundEntry{std::move(record), 0});
    }
    changed_ = true;
    return Status::Ok();
  }

  bool changed() const { return changed_; }
  // Failure when reading the archive failed during the puts.
  const Status& unreadable() const { return unreadable_; }

  // Writes the new payloads and the new directory where nothing refers to them yet, flushes
  // them to the disk, and only then points the header at the new directory and flushes that.
  // The header's four bytes lie in one disk sector, so they change as a whole: every moment of
  // the save, a power cut included, leaves the whole old archive or the whole new one.
  Status Execute() {
    std::vector<uint8_t> directory;
    AppendU32(&directory, static_cast<uint32_t>(next_.entries.size()));
    for (const FoundEntry& e : next_.entries) EncodeRecord(e.record, &directory);
    const std::optional<uint32_t> directory_offset = space_.Take(directory.size());
    if (!directory_offset) return Status::Fail("the archive would grow past 4 GiB");

    File& file = archive_.file();
    for (size_t i = 0; i < new_payloads_.size(); ++i) {
      const std::span<const uint8_t> payload = new_payloads_[i];
      if (payload.empty()) continue;
      if (!file.Seek(next_.entries[i].record.data_offset) || !file.Write(payload.data(), payload.size())) {
        return WriteFailed("the new payload");
      }
    }
    if (!file.Seek(*directory_offset) || !file.Write(directory.data(), directory.size())) {
      return WriteFailed("the new directory");
    }
    if (!file.Sync()) return Status::Fail("cannot flush the new payloads to the disk");
    uint8_t offset_bytes[4];
    StoreU32(offset_bytes, *directory_offset);
    if (!file.Seek(kDirectoryOffsetField) || !file.Write(offset_bytes, sizeof offset_bytes)) {
      return WriteFailed("the archive header");
    }
    if (!file.Sync()) return Status::Fail("cannot flush the archive header to the disk");
    return Status::Ok();
  }

 private:
  static std::vector<FreeSpace::Range> UsedRanges(const Directory& d) {
    std::vector<FreeSpace::Range> used = {{0, kH4rHeaderSize}};
    used.push_back({d.offset, static_cast<uint64_t>(d.offset) + std::max(d.Size(), kDirectoryCountSize)});
    for (const FoundEntry& e : d.entries) {
      used.push_back({e.record.data_offset, static_cast<uint64_t>(e.record.data_offset) + e.record.PayloadLength()});
    }
    return used;
  }

  // True when the record's stored bytes already are `payload`: then they are not written again.
  std::optional<bool> HoldsAlready(size_t index, const EntryRecord& record, std::span<const uint8_t> payload) {
    if (record.stored_size != payload.size()) return false;
    if (index < new_payloads_.size() && !new_payloads_[index].empty()) {
      return std::equal(new_payloads_[index].begin(), new_payloads_[index].end(), payload.begin(), payload.end());
    }
    if (static_cast<uint64_t>(record.data_offset) + payload.size() > archive_.size()) return false;
    return FileBytesEqual(archive_.file(), record.data_offset, payload);
  }

  Archive& archive_;
  FreeSpace space_;
  Directory next_;  // the new directory's records (offset, count and positions unused)
  uint32_t stored_count_ = 0;
  // By record index: the bytes to write, borrowed from the caller; empty where none.
  std::vector<std::span<const uint8_t>> new_payloads_;
  bool changed_ = false;
  Status unreadable_ = Status::Ok();
};

}  // namespace

Status CreateArchive(const std::string& path) {
  ReplacementFile out;
  if (Status s = ReplacementFile::Create(path, &out); !s) return s;
  std::vector<uint8_t> bytes(kH4rMagic, kH4rMagic + 4);
  AppendU32(&bytes, kH4rHeaderSize);
  AppendU32(&bytes, 0);
  if (!out.file().Write(bytes.data(), bytes.size())) return WriteFailed("the archive");
  return out.Commit();
}

Status PutStoredEntries(const std::string& path, std::span<const StoredEntry> entries,
                        std::vector<Status>* outcomes) {
  std::vector<Status> local;
  std::vector<Status>& each = outcomes ? *outcomes : local;
  each.assign(entries.size(), Status::Ok());
  auto fail_all = [&](const Status& why) {
    for (Status& s : each) {
      if (s) s = why;
    }
    return why;
  };
  if (entries.empty()) return Status::Ok();

  os::ClearReadOnly(path);  // a failure shows when the archive is opened for writing
  Archive archive;
  if (Status s = Archive::Open(path, Archive::Access::kReadWrite, &archive); !s) return fail_all(s);
  // The whole directory is read first: a lookup that failed to read must not pass for "not
  // there", or the put would add a second entry of that name behind the first.
  Directory directory;
  if (Status s = archive.ReadDirectory(&directory); !s) return fail_all(s);

  const uint32_t now = Now();
  PutPlan plan(archive, directory);
  for (size_t i = 0; i < entries.size(); ++i) each[i] = plan.Put(entries[i], now);
  if (!plan.unreadable()) return fail_all(plan.unreadable());
  if (plan.changed()) {
    Status written = plan.Execute();
    Status closed = archive.Close();
    if (!written) return fail_all(written);
    if (!closed) return fail_all(closed);
  }
  for (const Status& s : each) {
    if (!s) return s;
  }
  return Status::Ok();
}

Status PutStoredEntry(const std::string& path, std::string_view name, std::span<const uint8_t> payload,
                      uint32_t content_size, uint32_t new_entry_trailing_word) {
  if (name.empty()) return Status::Fail("no entry name given");
  if (payload.empty()) return Status::Fail("the payload is empty");
  const StoredEntry entry{name, payload, content_size, new_entry_trailing_word};
  return PutStoredEntries(path, std::span<const StoredEntry>(&entry, 1));
}

Status PutEntry(const std::string& path, std::string_view name, std::span<const uint8_t> content,
                uint32_t new_entry_trailing_word) {
  if (name.empty()) return Status::Fail("no entry name given");
  std::vector<uint8_t> payload;
  if (Status s = CompressEntry(content, &payload); !s) return s;
  return PutStoredEntry(path, name, payload, static_cast<uint32_t>(content.size()), new_entry_trailing_word);
}

}  // namespace qm
