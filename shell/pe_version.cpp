#include "shell/pe_version.h"

#include <array>
#include <cstring>

#include "base/byte_cursor.h"
#include "base/file.h"

namespace qm {
namespace {

constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr uint32_t kVersionResourceName = 1;   // VS_VERSION_INFO
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedInfoSize = 52;  // sizeof(VS_FIXEDFILEINFO)
// The version block's head: three words and "VS_VERSION_INFO" as UTF-16 with its terminator,
// padded to 40 bytes, then the fixed information.
constexpr char kVersionKey[] = "VS_VERSION_INFO";
constexpr size_t kVersionHeadSize = 40;

std::optional<PeProductVersion> ReadVersionBlock(const PeResourceTree& tree, const PeResourceData& data) {
  std::array<uint8_t, kVersionHeadSize + kFixedInfoSize> block_bytes;
  if (data.size < block_bytes.size()) return std::nullopt;
  if (!tree.ReadRva(data.rva, block_bytes)) return std::nullopt;
  ByteReader block(block_bytes);
  const uint16_t length = block.ReadU16();
  const uint16_t value_length = block.ReadU16();
  if (length < block_bytes.size() || length > data.size || value_length < kFixedInfoSize) return std::nullopt;
  block.Skip(2);                      // type
  for (const char c : kVersionKey) {  // the terminator is compared too
    if (block.ReadU16() != static_cast<uint8_t>(c)) return std::nullopt;
  }
  ByteReader fixed(block_bytes, kVersionHeadSize);
  if (fixed.ReadU32() != kFixedInfoSignature) return std::nullopt;
  fixed.Skip(12);  // structure version, file version
  const uint32_t ms = fixed.ReadU32();
  return PeProductVersion{ms, fixed.ReadU32()};
}

}  // namespace

std::optional<PeProductVersion> ReadPeProductVersion(const PeByteSource& source) {
  PeResourceTree tree(source);
  if (!tree.Open()) return std::nullopt;
  const std::optional<PeResourceData> data = tree.Find(kResourceTypeVersion, kVersionResourceName);
  if (!data) return std::nullopt;
  return ReadVersionBlock(tree, *data);
}

std::optional<PeProductVersion> ReadPeProductVersion(std::span<const uint8_t> image) {
  return ReadPeProductVersion([image](uint64_t offset, void* out, size_t size) {
    if (offset > image.size() || size > image.size() - offset) return false;
    std::memcpy(out, image.data() + offset, size);
    return true;
  });
}

std::optional<PeProductVersion> ReadPeProductVersionOfFile(const std::string& path) {
  File file = File::Open(path, File::Mode::kRead);
  if (!file.is_open()) return std::nullopt;
  return ReadPeProductVersion([&file](uint64_t offset, void* out, size_t size) {
    return file.Seek(offset) && file.Read(out, size);
  });
}

}  // namespace qm
