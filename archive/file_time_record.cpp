#include "archive/file_time_record.h"

#include <optional>

#include "base/byte_cursor.h"
#include "base/os.h"

namespace qm {

namespace {

void AppendU64(std::vector<uint8_t>* out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> EncodeFileTimeRecord(const FileTimeRecord& record) {
  std::vector<uint8_t> out;
  out.reserve(kFileTimeRecordHeaderSize + record.name.size() + 1);
  AppendU64(&out, record.creation);
  AppendU64(&out, record.last_write);
  out.insert(out.end(), record.name.begin(), record.name.end());
  out.push_back(0);
  return out;
}

Status DecodeFileTimeRecord(std::span<const uint8_t> data, FileTimeRecord* out) {
  if (data.size() <= kFileTimeRecordHeaderSize) return Status::Fail("the file-time record is too short");
  ByteReader r(data);
  FileTimeRecord rec;
  rec.creation = r.ReadU64();
  rec.last_write = r.ReadU64();
  const std::string_view name = r.ReadChars(r.remaining());
  const size_t nul = name.find('\0');
  if (nul == std::string_view::npos) return Status::Fail("the file-time record's name has no end");
  rec.name.assign(name.substr(0, nul));
  *out = std::move(rec);
  return Status::Ok();
}

Status MakeFileTimeRecord(const std::string& path, std::string_view name, std::vector<uint8_t>* out) {
  const std::optional<os::FileTimes> times = os::ReadFileTimes(path);
  if (!times) return Status::Fail("cannot read the times of " + path);
  FileTimeRecord rec;
  rec.creation = times->creation;
  rec.last_write = times->last_write;
  rec.name = std::string(name);
  *out = EncodeFileTimeRecord(rec);
  return Status::Ok();
}

}  // namespace qm
