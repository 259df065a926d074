#include "portrait/picture_source.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qm {

bool PictureSource::Refill() {
  const size_t want = static_cast<size_t>(std::min<uint64_t>(kPieceBytes, remaining()));
  if (want == 0 || read_failed_) return false;
  try {
    buffer_.resize(want);
  } catch (const std::bad_alloc&) {
    read_failed_ = true;
    return false;
  }
  if (!file_->Read(buffer_.data(), want)) {
    read_failed_ = true;
    buffer_.clear();
    return false;
  }
  buffer_used_ = 0;
  return true;
}

std::span<const uint8_t> PictureSource::Next(size_t max) {
  if (file_ == nullptr) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(max, remaining()));
    const std::span<const uint8_t> piece = bytes_.subspan(static_cast<size_t>(position_), n);
    position_ += n;
    return piece;
  }
  if (buffer_used_ == buffer_.size() && !Refill()) return {};
  const size_t n = std::min(max, buffer_.size() - buffer_used_);
  const std::span<const uint8_t> piece(buffer_.data() + buffer_used_, n);
  buffer_used_ += n;
  position_ += n;
  return piece;
}

bool PictureSource::Read(void* out, size_t n) {
  auto* to = static_cast<uint8_t*>(out);
  while (n > 0) {
    const std::span<const uint8_t> piece = Next(n);
    if (piece.empty()) return false;
    std::memcpy(to, piece.data(), piece.size());
    to += piece.size();
    n -= piece.size();
  }
  return true;
}

bool PictureSource::Skip(uint64_t n) {
  if (n > remaining()) return false;
  if (file_ != nullptr) {
    const size_t buffered = buffer_.size() - buffer_used_;
    if (n > buffered) {
      // Past the buffered piece: seek there and read on from a fresh piece.
      if (!file_->Seek(position_ + n)) {
        read_failed_ = true;
        return false;
      }
      buffer_.clear();
      buffer_used_ = 0;
    } else {
      buffer_used_ += static_cast<size_t>(n);
    }
  }
  position_ += n;
  return true;
}

bool PictureSource::Rewind() {
  if (file_ != nullptr) {
    if (!file_->Seek(0)) {
      read_failed_ = true;
      return false;
    }
    buffer_.clear();
    buffer_used_ = 0;
  }
  position_ = 0;
  read_failed_ = false;
  return true;
}

}  // namespace qm
