#include "archive/h4r_writer.h"

#include <ctime>
#include <deque>
#include <optional>

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
bool OldPayloadIsReusable(uint64_t file_size, const Directory& directory, const FoundEntry& found) {
  const EntryRecord& r = found.record;
  const uint64_t start = r.data_offset;
  const uint64_t length = r.stored_size;
  if (length == 0 || start < kH4rHeaderSize || start + length > file_size) return false;
  if (Overlaps(start, length, directory.offset, directory.Size())) return false;
  for (const FoundEntry& other : directory.entries) {
    if (other.record_position == found.record_position) continue;
    if (Overlaps(start, length, other.record.data_offset, other.record.PayloadLength())) return false;
  }
  return true;
}

// The writes of a batch of puts, worked out in memory before the file is touched. The plan
// follows the puts one after another exactly (the same lookups, offsets and dead space as
// separate puts), keeping the file's size and current directory as they would stand, and sorts
// each write into one of two stages:
//   staged - payloads and new directories: nothing refers to them yet, so they may go to the
//            disk in any order, before the first flush;
//   live   - records rewritten in the directory the header names, then the header's new
//            directory offset: these make the staged bytes part of the archive, after the flush.
// A record rewritten in a directory that this batch wrote is folded into that directory's bytes.
class PutPlan {
 public:
  PutPlan(uint64_t file_size, Directory directory) : end_(file_size), directory_(std::move(directory)) {}

  Status Put(const StoredEntry& entry, uint32_t now) {
    if (entry.name.empty()) return Status::Fail("no entry name given");
    if (entry.payload.empty()) return Status::Fail("the payload is empty");
    if (entry.payload.size() > UINT32_MAX) return Status::Fail("the payload is too large for an archive");
    const FoundEntry* found = FindInDirectory(directory_, entry.name);
    if (found) return Replace(static_cast<size_t>(found - directory_.entries.data()), entry, now);
    return Add(entry, now);
  }

  // True when reordering the stages would change the result: a later staged write lands on a
  // record the live stage rewrites (possible only in a crafted archive whose payloads overlap
  // its first directory). Such a batch is put one entry at a time instead.
  bool StagesConflict() const {
    for (const Write& l : live_) {
      for (const Write& s : staged_) {
        if (s.sequence > l.sequence && Overlaps(s.offset, Bytes(s).size(), l.offset, Bytes(l).size())) return true;
      }
    }
    return false;
  }

  Status Execute(File& file) const {
    for (const Write& w : staged_) {
      const std::span<const uint8_t> bytes = Bytes(w);
      if (!file.Seek(w.offset) || !file.Write(bytes.data(), bytes.size())) return WriteFailed("the new payload");
    }
    // Payloads and directories reach the disk before anything points at them.
    if (!staged_.empty() && !file.Sync()) return Status::Fail("cannot flush the new payload to the disk");
    for (const Write& w : live_) {
      const std::span<const uint8_t> bytes = Bytes(w);
      if (!file.Seek(w.offset) || !file.Write(bytes.data(), bytes.size())) return WriteFailed("the directory");
    }
    if (!live_.empty() && !file.Sync()) return Status::Fail("cannot flush the directory to the disk");
    return Status::Ok();
  }

 private:
  struct Write {
    uint64_t offset = 0;
    std::span<const uint8_t> payload;  // borrowed from the caller's entry
    std::optional<size_t> owned;       // else an index into owned_
    unsigned long sequence = 0;
  };

  std::span<const uint8_t> Bytes(const Write& w) const {
    return w.owned ? std::span<const uint8_t>(owned_[*w.owned]) : w.payload;
  }

  Write Own(uint64_t offset, std::vector<uint8_t> bytes) {
    owned_.push_back(std::move(bytes));
    return Write{offset, {}, owned_.size() - 1, ++sequence_};
  }

  Status Replace(size_t index, const StoredEntry& entry, uint32_t now) {
    const FoundEntry& found = directory_.entries[index];
    EntryRecord record = found.record;
    if (entry.payload.size() > record.stored_size || !OldPayloadIsReusable(end_, directory_, found)) {
      // A larger payload goes to the end of the file; the old one becomes dead space.
      if (end_ + entry.payload.size() > UINT32_MAX) return Status::Fail("the archive would grow past 4 GiB");
      record.data_offset = static_cast<uint32_t>(end_);
      end_ += entry.payload.size();
    }
    record.stored_size = static_cast<uint32_t>(entry.payload.size());
    record.content_size = entry.content_size;
    record.time_stamp = now;
    if (record.trailing_word == kTrailingWordRaw && LooksLikeGzip(entry.payload)) {
      record.trailing_word = kTrailingWordGzip;
    }
    staged_.push_back(Write{record.data_offset, entry.payload, std::nullopt, ++sequence_});

    std::vector<uint8_t> encoded;
    EncodeRecord(record, &encoded);  // the same length as the old record: only numbers changed
    if (current_block_) {
      std::vector<uint8_t>& block = owned_[*current_block_];
      std::copy(encoded.begin(), encoded.end(), block.begin() + (found.record_position - directory_.offset));
    } else {
      live_.push_back(Own(found.record_position, std::move(encoded)));
    }
    directory_.entries[index].record = std::move(record);
    return Status::Ok();
  }

  Status Add(const StoredEntry& entry, uint32_t now) {
    if (entry.name.size() > kMaxStringLength) return Status::Fail("the entry name is longer than 259 bytes");
    if (directory_.count >= kMaxEntryCount) {
      return Status::Fail("the directory is full (" + std::to_string(directory_.count) + " entries)");
    }
    FoundEntry added;
    added.record.data_offset = static_cast<uint32_t>(end_);
    added.record.stored_size = static_cast<uint32_t>(entry.payload.size());
    added.record.content_size = entry.content_size;
    added.record.time_stamp = now;
    added.record.name = std::string(entry.name);
    added.record.trailing_word = entry.new_entry_trailing_word;

    // The new directory: the old records in directory order, then the new one.
    const uint64_t directory_offset = end_ + entry.payload.size();
    std::vector<FoundEntry> entries = directory_.entries;
    entries.push_back(std::move(added));
    std::vector<uint8_t> block;
    AppendU32(&block, static_cast<uint32_t>(entries.size()));
    for (FoundEntry& e : entries) {
      e.record_position = directory_offset + block.size();
      EncodeRecord(e.record, &block);
    }
    if (directory_offset + block.size() > UINT32_MAX) return Status::Fail("the archive would grow past 4 GiB");
    directory_.entries = std::move(entries);
    staged_.push_back(Write{end_, entry.payload, std::nullopt, ++sequence_});
    end_ = directory_offset + block.size();
    directory_.offset = static_cast<uint32_t>(directory_offset);
    directory_.count = static_cast<uint32_t>(directory_.entries.size());
    staged_.push_back(Own(directory_offset, std::move(block)));
    current_block_ = staged_.back().owned;

    // The header names only the last new directory; the ones before it are dead space at once.
    uint8_t offset_bytes[4];
    StoreU32(offset_bytes, directory_.offset);
    if (header_) {
      owned_[*live_[*header_].owned].assign(offset_bytes, offset_bytes + 4);
    } else {
      live_.push_back(Own(kDirectoryOffsetField, std::vector<uint8_t>(offset_bytes, offset_bytes + 4)));
      header_ = live_.size() - 1;
    }
    return Status::Ok();
  }

  uint64_t end_;
  Directory directory_;
  std::optional<size_t> current_block_;  // owned_ index of the new directory in use, if any
  std::optional<size_t> header_;         // live_ index of the header write, if any
  std::deque<std::vector<uint8_t>> owned_;
  std::vector<Write> staged_;
  std::vector<Write> live_;
  unsigned long sequence_ = 0;
};

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
  PutPlan plan(archive.size(), std::move(directory));
  for (size_t i = 0; i < entries.size(); ++i) each[i] = plan.Put(entries[i], now);
  if (plan.StagesConflict()) {
    if (Status s = archive.Close(); !s) return fail_all(s);
    Status first = Status::Ok();
    for (size_t i = 0; i < entries.size(); ++i) {
      each[i] = PutStoredEntries(path, entries.subspan(i, 1));
      if (first && !each[i]) first = each[i];
    }
    return first;
  }
  Status written = plan.Execute(archive.file());
  Status closed = archive.Close();
  if (!written) return fail_all(written);
  if (!closed) return fail_all(closed);
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
