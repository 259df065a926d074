// Reading H4R archives (format in archive/h4r_format.h).
//
//   std::vector<uint8_t> content;
//   Status s = LoadEntry("DATA/UPDATES.H4R", "table.heroes.h4d", &content);
//
// LoadEntry opens the archive, finds the entry and returns its content: exactly content-size
// bytes. Lower down, an open Archive offers the same steps one by one:
//
//   Archive a;  Archive::Open(path, Archive::Access::kRead, &a);
//   FoundEntry e;  a.FindEntry("table.heroes.h4d", &e);   // e.record, e.record_position
//   a.ReadPayload(e.record, &content);
//
// Lookup: records are compared in directory order over the wanted name's length, without
// regard to ASCII case, so a stored name that begins with the wanted name matches too; the
// first match wins. A count of 0 or 20,000 or more means no entries.
//
// Every input is hostile: a directory or payload that reaches past the end of the file, a
// string longer than 259 bytes or a content size the payload cannot produce is refused before
// anything is allocated for it. A compressed payload that ends early yields its bytes and
// zeros after them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/h4r_format.h"
#include "archive/payload_codec.h"
#include "base/file.h"
#include "base/status.h"

namespace qm {

struct FoundEntry {
  EntryRecord record;
  uint64_t record_position = 0;  // file offset where the record begins
};

struct Directory {
  uint32_t offset = 0;           // where the directory lies
  uint32_t count = 0;            // the count as stored
  std::vector<FoundEntry> entries;  // empty when the count holds no entries
  uint32_t Size() const;         // 4 + the records' sizes, or 0 when it holds no entries
};

class Archive {
 public:
  enum class Access { kRead, kReadWrite };

  // Opens `path` and checks the magic. Fails for an empty path, a file that cannot be opened
  // and a file that does not begin with the magic.
  static Status Open(const std::string& path, Access access, Archive* out);

  // Finds the first record whose name begins with `name` (ASCII case folded). Fails when there
  // is none, when the name is empty, and when the directory is unreadable.
  Status FindEntry(std::string_view name, FoundEntry* found);

  // Reads the whole directory. Fails when it is unreadable (runs past the end of the file, a
  // string over 259 bytes); a count of 0 or 20,000+ gives no entries.
  Status ReadDirectory(Directory* directory);

  // Size of the directory (4 + its records), or 0 when it holds no entries or is unreadable.
  uint32_t DirectorySize();

  // The payload's bytes as stored in the file.
  Status ReadStoredBytes(const EntryRecord& record, std::vector<uint8_t>* bytes);
  // The entry's content: exactly content-size bytes.
  Status ReadPayload(const EntryRecord& record, std::vector<uint8_t>* content, DecodeReport* report = nullptr);

  // Fails when pending writes could not be completed.
  Status Close();

  File& file() { return file_; }
  const std::string& path() const { return path_; }
  uint64_t size() const { return size_; }
  // Refreshes size() after the file has grown.
  bool RefreshSize();

 private:
  // Reads the directory offset and the count as stored.
  Status ReadDirectoryStart(uint32_t* offset, uint32_t* count);

  File file_;
  std::string path_;
  uint64_t size_ = 0;
};

// The first entry of `directory` whose name begins with `name` (ASCII case folded), or nullptr.
const FoundEntry* FindInDirectory(const Directory& directory, std::string_view name);

Status LoadEntry(const std::string& path, std::string_view name, std::vector<uint8_t>* content);

}  // namespace qm
