// Where a picture decoder reads a picture file from: bytes already in memory, or an open file
// read piece by piece, so that a large picture file is never held in memory beside its pixels.
//
//   PictureSource source(bytes);                  // or PictureSource(&file, *file.Size())
//   std::span<const uint8_t> piece = source.Next(4096);   // the next bytes, empty at the end
//   if (!source.Read(header, 8) || !source.Skip(length)) -> truncated or unreadable
//   source.Rewind();                              // a second pass from the start
//
// Reads never go past size(). A file source reads through a buffer of kPieceBytes; a memory
// source hands out the bytes themselves. read_failed() tells a read error (a file that could
// not be read) from the plain end of the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/file.h"

namespace qm {

class PictureSource {
 public:
  static constexpr size_t kPieceBytes = size_t{64} << 10;

  explicit PictureSource(std::span<const uint8_t> bytes) : bytes_(bytes), size_(bytes.size()) {}
  // `file` stays the caller's and must outlive the source; `size` is its length.
  PictureSource(File* file, uint64_t size) : file_(file), size_(size) {}

  PictureSource(const PictureSource&) = delete;
  PictureSource& operator=(const PictureSource&) = delete;

  uint64_t size() const { return size_; }
  uint64_t position() const { return position_; }
  uint64_t remaining() const { return size_ - position_; }
  bool read_failed() const { return read_failed_; }

  // The next bytes, at most `max`; empty at the end or after a read error. The span stays valid
  // until the next call on the source.
  std::span<const uint8_t> Next(size_t max);
  // Exactly `n` bytes into `out`, or false (the position is then unspecified).
  [[nodiscard]] bool Read(void* out, size_t n);
  // Moves `n` bytes on; false when fewer remain.
  [[nodiscard]] bool Skip(uint64_t n);
  // Back to the first byte.
  [[nodiscard]] bool Rewind();

 private:
  bool Refill();

  std::span<const uint8_t> bytes_;  // a memory source
  File* file_ = nullptr;            // or a file source
  std::vector<uint8_t> buffer_;     // a file source's current piece
  size_t buffer_used_ = 0;          // bytes of buffer_ already handed out
  uint64_t size_ = 0;
  uint64_t position_ = 0;
  bool read_failed_ = false;
};

}  // namespace qm
