// Changing H4R archives: creating one, and putting named entries into it.
//
//   Status s = PutEntry("DATA/UPDATES.H4R", "table.heroes.h4d", content);
//   Status s = PutStoredEntry(path, name, gzip_payload, content_size, kNewEntryTrailingWord);
//   Status s = PutStoredEntries(path, entries, &outcomes);   // several, committed together
//
// A put reads the whole directory (a damaged one fails the put) and finds each entry by name
// with the reader's prefix rule. Found: the record gets the new sizes and the current time;
// name, strings and trailing word stay, except that a gzip payload over an entry marked raw
// (trailing word 1) marks it gzip (3), since the game would otherwise read the stream as raw
// bytes. Not found: a new record (empty strings, the given trailing word) goes after the others.
//
// Every put commits at one point. The new payloads and a complete new directory are written
// where nothing the archive uses lies (a gap of dead space they fit, else past the end of the
// file) and flushed to the disk; then the header's directory offset is written and flushed.
// Until that four-byte write the archive on disk is the old one, byte for byte where it is
// used; after it, the new one. A process killed or a power cut at any moment leaves the whole
// old archive or the whole new one, never an entry half written. A payload whose stored bytes
// are already the entry's is not written again; its record is still re-stamped. The space that
// superseded payloads and directories leave is reused by later puts, and a wipe
// (archive/h4r_wipe.h) reclaims it all.
//
// A read-only archive is made writable first. Every write, seek, flush and close is checked.
//
// PutStoredEntries puts several entries as one commit (the catalogue's thirteen in a save, a
// patch's entries): in order, as separate puts would look them up, but with one new directory
// and two flushes in all.
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

// Writes `path` as an empty archive (the magic, directory offset 8, count 0), replacing a file
// of that name in one step once the new one is on the disk.
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

// Puts `entries` in order and commits them together. An entry that cannot be put (no name, an
// empty payload, a name over 259 bytes, a full directory, an archive that would pass 4 GiB)
// fails alone and the others go in. A failed open, read, write or flush fails every entry and
// leaves the archive as it was. `outcomes`, when given, receives one Status per entry; the
// result is the first failure, or success.
Status PutStoredEntries(const std::string& path, std::span<const StoredEntry> entries,
                        std::vector<Status>* outcomes = nullptr);

}  // namespace qm
