// Builds H4R archive bytes with exact control over the layout, for the archive tests.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <random>
#include <string>
#include <vector>

#include "archive/entry_compressor.h"
#include "archive/h4r_format.h"
#include "archive/h4r_reader.h"

namespace qm::test {

struct BuiltEntry {
  std::string name;
  std::vector<uint8_t> payload;  // the bytes stored in the file
  uint32_t stored_size = 0;      // as written in the record
  uint32_t content_size = 0;
  uint32_t trailing_word = kTrailingWordGzip;
  std::string second, third;
  uint32_t time_stamp = 1000000000;
};

// A gzip entry made by the entry compressor.
inline BuiltEntry GzipEntry(const std::string& name, const std::vector<uint8_t>& content) {
  BuiltEntry e;
  e.name = name;
  Status s = CompressEntry(content, &e.payload);
  if (!s) throw std::runtime_error(s.why());
  e.stored_size = static_cast<uint32_t>(e.payload.size());
  e.content_size = static_cast<uint32_t>(content.size());
  return e;
}

// A raw entry: stored size 0, the content as it is.
inline BuiltEntry RawEntry(const std::string& name, const std::vector<uint8_t>& content) {
  BuiltEntry e;
  e.name = name;
  e.payload = content;
  e.stored_size = 0;
  e.content_size = static_cast<uint32_t>(content.size());
  e.trailing_word = kTrailingWordRaw;
  return e;
}

enum class DirectoryPlace { kFirst, kLast };

// Header, then either the directory and the payloads or the payloads and the directory, with
// `dead` bytes of junk after the header.
inline std::vector<uint8_t> BuildArchive(const std::vector<BuiltEntry>& entries,
                                         DirectoryPlace place = DirectoryPlace::kLast, size_t dead = 0,
                                         uint32_t count_override = UINT32_MAX) {
  std::vector<EntryRecord> records;
  for (const BuiltEntry& e : entries) {
    EntryRecord r;
    r.stored_size = e.stored_size;
    r.content_size = e.content_size;
    r.time_stamp = e.time_stamp;
    r.name = e.name;
    r.second = e.second;
    r.third = e.third;
    r.trailing_word = e.trailing_word;
    records.push_back(r);
  }
  uint64_t directory_size = 4;
  for (const EntryRecord& r : records) directory_size += r.DiskSize();
  uint64_t at = kH4rHeaderSize + dead + (place == DirectoryPlace::kFirst ? directory_size : 0);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].data_offset = static_cast<uint32_t>(at);
    at += entries[i].payload.size();
  }
  const uint32_t directory_offset =
      static_cast<uint32_t>(place == DirectoryPlace::kFirst ? kH4rHeaderSize + dead : at);
  std::vector<uint8_t> directory;
  AppendU32(&directory, count_override != UINT32_MAX ? count_override : static_cast<uint32_t>(records.size()));
  for (const EntryRecord& r : records) EncodeRecord(r, &directory);

  std::vector<uint8_t> out(kH4rMagic, kH4rMagic + 4);
  AppendU32(&out, directory_offset);
  out.insert(out.end(), dead, 0xEE);
  if (place == DirectoryPlace::kFirst) out.insert(out.end(), directory.begin(), directory.end());
  for (const BuiltEntry& e : entries) out.insert(out.end(), e.payload.begin(), e.payload.end());
  if (place == DirectoryPlace::kLast) out.insert(out.end(), directory.begin(), directory.end());
  return out;
}

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out(n);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

// The entry's content, or nothing when it does not load.
inline std::optional<std::vector<uint8_t>> Load(const std::string& path, const std::string& name) {
  std::vector<uint8_t> content;
  if (!LoadEntry(path, name, &content)) return std::nullopt;
  return content;
}

inline Directory ReadDir(const std::string& path) {
  Archive a;
  Directory d;
  if (!Archive::Open(path, Archive::Access::kRead, &a) || !a.ReadDirectory(&d)) return Directory{};
  return d;
}

}  // namespace qm::test
