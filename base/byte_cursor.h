// Byte cursor: the one sequential little-endian reader, and its writer, for every binary format
// here: archive directories, the appended payload and its file-time record, PE headers, the
// hero table and portrait images. Strings are the games' own: a 16-bit length, then the bytes
// without a terminator.
//
//   ByteReader r(bytes);
//   const uint32_t count = r.ReadU32();
//   std::string keyword = r.ReadString(65);              // keeps at most 64 of its bytes
//   std::span<const uint8_t> palette = r.ReadSpan(768);  // a view, nothing copied
//   if (r.overrun()) ...                                 // the data ended early
//
//   std::vector<uint8_t> out;
//   ByteWriter w(&out);
//   w.WriteU32(count);
//   w.WriteString(keyword);
//
// The reader treats its input as hostile: it never reads outside its span, and positions and
// lengths of any size are compared without overflow. A read that would go past the end yields
// zeros (or an empty string or span), moves the position to the end and marks the reader
// overrun, so a parser keeps its straight-line shape and checks `overrun()` where it matters.
// Once overrun, every further read yields zeros too.
//
// The writer appends to a growable buffer, so a table or bundle may exceed any fixed size.
//
// Both live in this header alone: a program links only the reads it makes. The reads are forced
// inline because on a reader over a block of fixed size (a PE header, a payload slot) their
// bounds checks then fold away, which keeps the two stub programs small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/little_endian.h"

namespace qm {

class ByteReader {
 public:
  ByteReader() = default;
  // Starts at `position`; a position past the end starts the reader overrun, at the end.
  explicit ByteReader(std::span<const uint8_t> data, size_t position = 0)
      : data_(data), pos_(position <= data.size() ? position : data.size()), overrun_(position > data.size()) {}

  [[gnu::always_inline]] uint8_t ReadU8() { return Take(1) ? data_[pos_ - 1] : 0; }
  [[gnu::always_inline]] uint16_t ReadU16() { return Take(2) ? LoadU16(&data_[pos_ - 2]) : 0; }
  [[gnu::always_inline]] uint32_t ReadU32() { return Take(4) ? LoadU32(&data_[pos_ - 4]) : 0; }
  [[gnu::always_inline]] uint64_t ReadU64() { return Take(8) ? LoadU64(&data_[pos_ - 8]) : 0; }

  // The next `n` bytes as a view into the data; empty (and overrun) when fewer remain.
  [[gnu::always_inline]] std::span<const uint8_t> ReadSpan(size_t n) {
    return Take(n) ? data_.subspan(pos_ - n, n) : std::span<const uint8_t>();
  }
  // The same bytes seen as text: single-byte characters, taken as they are.
  [[gnu::always_inline]] std::string_view ReadChars(size_t n) {
    const std::span<const uint8_t> bytes = ReadSpan(n);
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  // Reads a 16-bit length L and then L bytes. Keeps at most `capacity - 1` of them (the field's
  // terminator takes the last byte), but always advances past all L bytes. `full_length`
  // receives L. A length that reaches past the data keeps what is there and marks the overrun.
  std::string ReadString(size_t capacity, size_t* full_length = nullptr) {
    const size_t length = ReadU16();
    if (full_length) *full_length = length;
    const std::string_view text = ReadChars(length <= remaining() ? length : remaining());
    if (text.size() < length) overrun_ = true;
    return std::string(text.substr(0, capacity == 0 ? 0 : capacity - 1));
  }

  // False (and overrun) when fewer than `n` bytes remain.
  [[gnu::always_inline]] bool Skip(size_t n) { return Take(n); }

  size_t position() const { return pos_; }
  size_t remaining() const { return data_.size() - pos_; }
  bool overrun() const { return overrun_; }

 private:
  // Moves past the next `n` bytes; false, at the end and overrun, when fewer remain.
  [[gnu::always_inline]] bool Take(size_t n) {
    if (n > remaining()) {
      pos_ = data_.size();
      overrun_ = true;
      return false;
    }
    pos_ += n;
    return true;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool overrun_ = false;
};

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<uint8_t>* out) : out_(out), start_(out->size()) {}

  void WriteU8(uint8_t v) { out_->push_back(v); }
  void WriteU16(uint16_t v) {
    uint8_t bytes[2];
    StoreU16(bytes, v);
    WriteBytes(bytes, sizeof bytes);
  }
  void WriteU32(uint32_t v) {
    uint8_t bytes[4];
    StoreU32(bytes, v);
    WriteBytes(bytes, sizeof bytes);
  }
  // Length (16-bit) and the bytes, no terminator. Texts of more than 65,535 bytes are cut.
  void WriteString(std::string_view s) {
    const size_t n = s.size() < 0xFFFF ? s.size() : 0xFFFF;
    WriteU16(static_cast<uint16_t>(n));
    WriteBytes(s.data(), n);
  }
  void WriteBytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    out_->insert(out_->end(), p, p + n);
  }

  // Advances by n zero bytes and returns the offset (into the output buffer) where they start,
  // for fields filled in later such as a palette whose size is known only at the end.
  size_t Reserve(size_t n) {
    const size_t at = out_->size();
    out_->resize(at + n, 0);
    return at;
  }
  uint8_t* At(size_t offset) { return out_->data() + offset; }

  size_t BytesWritten() const { return out_->size() - start_; }

 private:
  std::vector<uint8_t>* out_;
  size_t start_;
};

}  // namespace qm
