#include "portrait/jpeg_check.h"

#include <cstddef>

namespace qm {
namespace {

constexpr uint8_t kMarkerPrefix = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kDefineHuffmanTables = 0xC4;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kTemporary = 0x01;
constexpr int kMaxCodes = 256;

// Past the end, the decoder reads zeros; so does this.
uint8_t ByteAt(std::span<const uint8_t> b, size_t i) { return i < b.size() ? b[i] : 0; }
size_t Word(std::span<const uint8_t> b, size_t i) {
  return static_cast<size_t>(ByteAt(b, i)) << 8 | ByteAt(b, i + 1);
}

// The tables of a DHT segment whose length field starts at `at`.
bool TablesFit(std::span<const uint8_t> b, size_t at) {
  const size_t length = Word(b, at);
  if (length < 2) return true;  // the decoder refuses the segment before building a table
  long remaining = static_cast<long>(length) - 2;
  size_t pos = at + 2;
  while (remaining > 0 && pos < b.size()) {
    const uint8_t which = ByteAt(b, pos);
    if ((which >> 4) > 1 || (which & 15) > 3) return true;  // refused by the decoder first
    int codes = 0;
    for (size_t i = 1; i <= 16; ++i) codes += ByteAt(b, pos + i);
    if (codes > kMaxCodes) return false;
    pos += 17 + static_cast<size_t>(codes);
    remaining -= 17 + codes;
  }
  return true;
}

bool HasLength(uint8_t marker) {
  return marker != kStartOfImage && marker != kEndOfImage && marker != kTemporary &&
         !(marker >= 0xD0 && marker <= 0xD7);  // restart markers
}

}  // namespace

bool JpegHuffmanTablesFit(std::span<const uint8_t> b) {
  // The decoder skips any number of 0xFF fill bytes before a marker, the first one included:
  // 0xFF 0xFF ... 0xFF 0xD8 starts a JPEG as well.
  if (ByteAt(b, 0) != kMarkerPrefix) return true;
  size_t pos = 1;
  while (pos < b.size() && b[pos] == kMarkerPrefix) ++pos;
  if (pos >= b.size() || b[pos] != kStartOfImage) return true;
  ++pos;
  // Marker segments up to the first scan, by their lengths; stray bytes between them are
  // skipped up to the next 0xFF, as the decoder does.
  while (pos < b.size()) {
    if (b[pos] != kMarkerPrefix) {
      ++pos;
      continue;
    }
    while (pos < b.size() && b[pos] == kMarkerPrefix) ++pos;
    if (pos >= b.size()) return true;
    const uint8_t marker = b[pos++];
    if (marker == kStartOfScan) break;
    if (!HasLength(marker)) continue;
    if (marker == kDefineHuffmanTables && !TablesFit(b, pos)) return false;
    const size_t length = Word(b, pos);
    if (length < 2) break;  // refused by the decoder; check the rest byte by byte
    pos += length;
  }
  for (size_t i = pos; i + 1 < b.size(); ++i) {
    if (b[i] == kMarkerPrefix && b[i + 1] == kDefineHuffmanTables && !TablesFit(b, i + 2)) return false;
  }
  return true;
}

}  // namespace qm
