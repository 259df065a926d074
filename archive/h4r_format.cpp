#include "archive/h4r_format.h"

namespace qm {

namespace {

// Data offset, stored size, content size and time stamp, at the start of every record.
constexpr size_t kRecordNumbersSize = 16;

}  // namespace

void AppendU32(std::vector<uint8_t>* out, uint32_t v) { ByteWriter(out).WriteU32(v); }

void EncodeRecord(const EntryRecord& record, std::vector<uint8_t>* out) {
  ByteWriter w(out);
  w.WriteU32(record.data_offset);
  w.WriteU32(record.stored_size);
  w.WriteU32(record.content_size);
  w.WriteU32(record.time_stamp);
  w.WriteString(record.name);
  w.WriteString(record.second);
  w.WriteString(record.third);
  w.WriteU32(record.trailing_word);
}

Status DecodeRecord(ByteReader& reader, EntryRecord* record) {
  ByteReader fixed(reader.ReadSpan(kRecordNumbersSize));
  record->data_offset = fixed.ReadU32();
  record->stored_size = fixed.ReadU32();
  record->content_size = fixed.ReadU32();
  record->time_stamp = fixed.ReadU32();
  std::string* const strings[] = {&record->name, &record->second, &record->third};
  for (std::string* s : strings) {
    const size_t length = reader.ReadU16();
    if (length > kMaxStringLength) {
      return Status::Fail("a directory record holds a string of " + std::to_string(length) + " bytes (at most " +
                          std::to_string(kMaxStringLength) + " are supported)");
    }
    s->assign(reader.ReadChars(length));
  }
  record->trailing_word = reader.ReadU32();
  if (reader.overrun()) return Status::Fail("the directory runs past the end of the file");
  return Status::Ok();
}

bool LooksLikeGzip(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
}

}  // namespace qm
