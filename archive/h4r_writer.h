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
// A read-only archive is made writable first. Every write, seek and close is checked. A grown
// payload is written before the record that points at it, and a new directory is complete
// before the header names it, so a put that stops half-way leaves the archive readable with its
// old content (an in-place payload overwrite is the one step that cannot be undone).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// The two halves of a put, on an archive opened for reading and writing whose `directory` has
// just been read.
Status ReplaceEntry(Archive& archive, const Directory& directory, const FoundEntry& found,
                    std::span<const uint8_t> payload, uint32_t content_size);
Status AddEntry(Archive& archive, const Directory& directory, std::string_view name,
                std::span<const uint8_t> payload, uint32_t content_size, uint32_t trailing_word);

}  // namespace qm
