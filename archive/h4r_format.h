// The game's H4R archive format: constants, the entry record and its encoding.
//
// On disk (every integer little-endian):
//
//   header, offset 0    4  magic "H4R" followed by the byte 5
//                       4  u32 directory offset
//   directory           4  u32 entry count; 1..19,999 is valid, 0 or 20,000+ holds no entries
//                       .. the entry records, back to back, in directory order
//   entry record        4  u32 data offset of the payload
//                       4  u32 stored size: payload length in the file; 0 = raw content
//                       4  u32 content size: length after decompression
//                       4  u32 time stamp, seconds since 1970 UTC
//                       2+N1  u16 length + name (no terminator)
//                       2+N2  u16 length + second string
//                       2+N3  u16 length + third string
//                       4  u32 trailing word: 3 = gzip payload, 1 = raw bytes (game's own)
//   payload             stored size != 0: a gzip stream (RFC 1952) of stored-size bytes, or,
//                       in the game's raw entries, the bytes themselves; stored size 0: the
//                       content itself, content-size bytes
//
// The directory and the payloads may lie anywhere after the header, each reached only through
// an offset; bytes no offset reaches are dead space. A record takes 26 + N1 + N2 + N3 bytes.
// Each string is held in a 260-byte field with a terminator, so at most 259 bytes are
// supported; an archive with a longer string is treated as unreadable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/byte_cursor.h"
#include "base/little_endian.h"
#include "base/status.h"

namespace qm {

constexpr uint8_t kH4rMagic[4] = {'H', '4', 'R', 0x05};
constexpr uint32_t kH4rHeaderSize = 8;
constexpr uint32_t kDirectoryOffsetField = 4;  // file offset of the directory offset

// A directory whose count is 0 or this value or more holds no entries.
constexpr uint32_t kEntryCountLimit = 20000;
constexpr uint32_t kMaxEntryCount = kEntryCountLimit - 1;

constexpr size_t kStringFieldSize = 260;
constexpr size_t kMaxStringLength = kStringFieldSize - 1;

// Size of the working buffer through which payloads are copied and read back in pieces.
constexpr size_t kWorkingBufferSize = 2097152;

constexpr uint32_t kTrailingWordRaw = 1;
constexpr uint32_t kTrailingWordGzip = 3;
// Every entry this system adds carries this trailing word.
constexpr uint32_t kNewEntryTrailingWord = kTrailingWordGzip;

constexpr uint32_t kRecordFixedSize = 26;  // the record without its three strings
constexpr uint32_t kDirectoryCountSize = 4;

struct EntryRecord {
  uint32_t data_offset = 0;
  uint32_t stored_size = 0;
  uint32_t content_size = 0;
  uint32_t time_stamp = 0;
  std::string name;
  std::string second;
  std::string third;
  uint32_t trailing_word = kNewEntryTrailingWord;

  // Bytes the record takes in the directory.
  uint32_t DiskSize() const {
    return kRecordFixedSize + static_cast<uint32_t>(name.size() + second.size() + third.size());
  }
  // Bytes the payload takes in the file: the stored size, or the content size for raw content.
  uint32_t PayloadLength() const { return stored_size != 0 ? stored_size : content_size; }
};

// Appends the record's bytes, field by field, each string with exactly its length. The strings
// must be at most kMaxStringLength bytes (the writer checks names before it gets here).
void EncodeRecord(const EntryRecord& record, std::vector<uint8_t>* out);

// Reads one record at the reader's position, field by field. Fails for a string longer than
// kMaxStringLength bytes, as soon as its length is read, and for a record the data ends inside
// of; the reader is then overrun, so a caller reading a window of a file can tell that the
// rest lies beyond it.
Status DecodeRecord(ByteReader& reader, EntryRecord* record);

// Appends a fixed field (little-endian, base/little_endian.h).
void AppendU32(std::vector<uint8_t>* out, uint32_t v);

// True when the bytes begin with the gzip signature (the framing the reader looks for).
bool LooksLikeGzip(std::span<const uint8_t> bytes);

}  // namespace qm
