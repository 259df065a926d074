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
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class ByteReader {
 public:
  ByteReader() = default;
  // Starts at `position`; a position past the end starts the reader overrun, at the end.
  explicit ByteReader(std::span<const uint8_t> data, size_t position = 0)
      : data_(data), pos_(position <= data.size() ? position : data.size()), overrun_(position > data.size()) {}

  uint8_t ReadU8();
  uint16_t ReadU16();
  uint32_t ReadU32();
  uint64_t ReadU64();

  // Reads a 16-bit length L and then L bytes. Keeps at most `capacity - 1` of them (the field's
  // terminator takes the last byte), but always advances past all L bytes. `full_length`
  // receives L. A length that reaches past the data keeps what is there and marks the overrun.
  std::string ReadString(size_t capacity, size_t* full_length = nullptr);

  // The next `n` bytes as a view into the data; empty (and overrun) when fewer remain.
  std::span<const uint8_t> ReadSpan(size_t n);
  // False (and overrun) when fewer than `n` bytes remain.
  bool Skip(size_t n);

  size_t position() const { return pos_; }
  size_t remaining() const { return data_.size() - pos_; }
  bool overrun() const { return overrun_; }

 private:
  // Points `at` to the next `n` bytes and moves past them; false after marking the overrun.
  bool Take(size_t n, const uint8_t** at);

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool overrun_ = false;
};

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<uint8_t>* out) : out_(out), start_(out->size()) {}

  void WriteU8(uint8_t v) { out_->push_back(v); }
  void WriteU16(uint16_t v);
  void WriteU32(uint32_t v);
  void WriteU64(uint64_t v);
  // Length (16-bit) and the bytes, no terminator. Texts of more than 65,535 bytes are cut.
  void WriteString(std::string_view s);
  void WriteBytes(const void* data, size_t n);

  // Advances by n zero bytes and returns the offset (into the output buffer) where they start,
  // for fields filled in later such as a palette whose size is known only at the end.
  size_t Reserve(size_t n);
  uint8_t* At(size_t offset) { return out_->data() + offset; }

  size_t BytesWritten() const { return out_->size() - start_; }

 private:
  std::vector<uint8_t>* out_;
  size_t start_;
};

}  // namespace qm
