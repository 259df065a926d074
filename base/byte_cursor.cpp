#include "base/byte_cursor.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"

namespace qm {

bool ByteReader::Take(size_t n, const uint8_t** at) {
  if (n > remaining()) {
    pos_ = data_.size();
    overrun_ = true;
    return false;
  }
  *at = data_.data() + pos_;
  pos_ += n;
  return true;
}

uint8_t ByteReader::ReadU8() {
  const uint8_t* p;
  return Take(1, &p) ? p[0] : 0;
}

uint16_t ByteReader::ReadU16() {
  const uint8_t* p;
  return Take(2, &p) ? LoadU16(p) : 0;
}

uint32_t ByteReader::ReadU32() {
  const uint8_t* p;
  return Take(4, &p) ? LoadU32(p) : 0;
}

uint64_t ByteReader::ReadU64() {
  const uint8_t* p;
  return Take(8, &p) ? LoadU64(p) : 0;
}

std::string ByteReader::ReadString(size_t capacity, size_t* full_length) {
  const size_t length = ReadU16();
  if (full_length) *full_length = length;
  const size_t available = std::min(length, remaining());
  const size_t keep = capacity == 0 ? 0 : std::min(available, capacity - 1);
  std::string text(reinterpret_cast<const char*>(data_.data() + pos_), keep);
  pos_ += available;
  if (available < length) overrun_ = true;
  return text;
}

std::span<const uint8_t> ByteReader::ReadSpan(size_t n) {
  const uint8_t* p;
  return Take(n, &p) ? std::span<const uint8_t>(p, n) : std::span<const uint8_t>();
}

bool ByteReader::Skip(size_t n) {
  const uint8_t* p;
  return Take(n, &p);
}

void ByteWriter::WriteU16(uint16_t v) { StoreU16(At(Reserve(2)), v); }

void ByteWriter::WriteU32(uint32_t v) { StoreU32(At(Reserve(4)), v); }

void ByteWriter::WriteU64(uint64_t v) {
  WriteU32(static_cast<uint32_t>(v));
  WriteU32(static_cast<uint32_t>(v >> 32));
}

void ByteWriter::WriteString(std::string_view s) {
  const size_t n = std::min<size_t>(s.size(), 0xFFFF);
  WriteU16(static_cast<uint16_t>(n));
  WriteBytes(s.data(), n);
}

void ByteWriter::WriteBytes(const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  out_->insert(out_->end(), p, p + n);
}

size_t ByteWriter::Reserve(size_t n) {
  const size_t at = out_->size();
  out_->resize(at + n, 0);
  return at;
}

}  // namespace qm
