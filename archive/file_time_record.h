// The file-time record: the blob of a backup payload that tells the restore tool which times
// to give the file it puts back.
//
//   offset 0   8  creation time (Windows file time, low 32 bits first)
//   offset 8   8  last-write time, same form
//   offset 16  .. the file's bare name and its terminating NUL ("UPDATES.H4R")
//
//   std::vector<uint8_t> blob;
//   if (MakeFileTimeRecord(archive_path, "UPDATES.H4R", &blob)) append blob as "DATA\UPDATES.FTM"
//   FileTimeRecord rec;
//   if (DecodeFileTimeRecord(blob, &rec)) ... rec.creation, rec.last_write, rec.name
//
// The restore tool resolves the name against the game's DATA folder, so the name is a bare
// file name; the decoder leaves that check to the caller (base/path.h IsBareFileName).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace qm {

constexpr size_t kFileTimeRecordHeaderSize = 16;

struct FileTimeRecord {
  uint64_t creation = 0;
  uint64_t last_write = 0;
  std::string name;
};

// 16 + name + NUL bytes.
std::vector<uint8_t> EncodeFileTimeRecord(const FileTimeRecord& record);

// Refuses data shorter than 17 bytes and a name without its NUL; bytes after the NUL are
// ignored.
Status DecodeFileTimeRecord(std::span<const uint8_t> data, FileTimeRecord* out);

// The record of the file at `path` (its creation and last-write times) under `name`. Fails
// when the file's times cannot be read.
Status MakeFileTimeRecord(const std::string& path, std::string_view name, std::vector<uint8_t>* out);

}  // namespace qm
