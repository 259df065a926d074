#include "archive/h4r_format.h"

namespace qm {

namespace {

void AppendU16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void AppendString(std::vector<uint8_t>* out, const std::string& s) {
  AppendU16(out, static_cast<uint16_t>(s.size()));
  out->insert(out->end(), s.begin(), s.end());
}

}  // namespace

void AppendU32(std::vector<uint8_t>* out, uint32_t v) {
  uint8_t b[4];
  StoreU32(b, v);
  out->insert(out->end(), b, b + 4);
}

void EncodeRecord(const EntryRecord& record, std::vector<uint8_t>* out) {
  AppendU32(out, record.data_offset);
  AppendU32(out, record.stored_size);
  AppendU32(out, record.content_size);
  AppendU32(out, record.time_stamp);
  AppendString(out, record.name);
  AppendString(out, record.second);
  AppendString(out, record.third);
  AppendU32(out, record.trailing_word);
}

bool LooksLikeGzip(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
}

}  // namespace qm
