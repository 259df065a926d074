// Changing H4R archives: creating one, and putting a named entry into it.
//
//   Status s = PutEntry("DATA/UPDATES.H4R", "table.heroes.h4d", content);
//   Status s = PutStoredEntry(path, name, gzip_payload, content_size, kNewEntryTrailingWord);
//
// Put reads the whole directory (a damaged one fails the put) and finds the entry by name with
// the reader's prefix rule. Found: Replace writes the payload
// over the old one when it is no larger, else at the end of the file, and rewrites the record
// in place with the new sizes and the current time; name, strings and trailing word stay, except
// that a gzip payload over an entry marked raw (trailing word 1) marks it gzip (3), since the
// game would otherwise read the stream as raw bytes. Not found: Add writes the payload and a new
// directory (the old records and the new one) at the end of the file, and only then points the
// header at it. Nothing ever moves inside the file; superseded bytes stay as dead space until a
// wipe (archive/h4r_wipe.h).
//
// A read-only archive is made writable first. Every write, seek, flush and close is checked. A
// put survives a killed process and a power cut alike: the payloads and any new directory are
// written and flushed to the disk (File::Sync) before the records and the header that make them
// live are changed, and those are flushed before the put reports success. An interruption leaves
// the archive readable with its old content or its new (an in-place payload overwrite is the one
// step that cannot be undone).
//
// PutStoredEntries puts several entries the way PutStoredEntry would one after another, with the
// same bytes in the file, but opens the archive once and flushes twice in all: first every
// payload and new directory, then the records and the header. A save of the catalogue's thirteen
// entries thus costs two flushes, not twenty-six.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/h4r_format.h"
#include "archive/h4r_reader.h"
#include "base/status.h"

namespace qm {

// Creates (or truncates) `path` as an empty archive: the magic, directory offset 8, count 0.
Status CreateArchive(const std::string& path);

// Compresses `content` with the entry compressor and puts the payload.
Status PutEntry(const std::string& path, std::string_view name, std::span<const uint8_t> content,
                uint32_t new_entry_trailing_word = kNewEntryTrailingWord);

// Puts a payload that is already in its stored form (a gzip stream of `content_size` bytes).
Status PutStoredEntry(const std::string& path, std::string_view name, std::span<const uint8_t> payload,
                      uint32_t content_size, uint32_t new_entry_trailing_word = kNewEntryTrailingWord);

// One entry of PutStoredEntries.
struct StoredEntry {
  std::string_view name;
  std::span<const uint8_t> payload;  // the stored form: a gzip stream of content_size bytes
  uint32_t content_size = 0;
  uint32_t new_entry_trailing_word = kNewEntryTrailingWord;
};

// Puts `entries` in order. An entry that cannot be put (no name, an empty payload, a name over
// 259 bytes, a full directory, an archive that would pass 4 GiB) fails alone and the others go
// on, as separate puts would. A failed open, read, write or flush fails every entry. `outcomes`,
// when given, receives one Status per entry; the result is the first failure, or success.
Status PutStoredEntries(const std::string& path, std::span<const StoredEntry> entries,
                        std::vector<Status>* outcomes = nullptr);

}  // namespace qm
