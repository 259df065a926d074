#include "shell/pe_version.h"

#include <array>
#include <cstring>

#include "base/byte_cursor.h"
#include "base/file.h"

namespace qm {
namespace {

constexpr uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr size_t kPeOffsetField = 0x3C;        // where the DOS header keeps the PE header's offset
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr uint32_t kVersionResourceName = 1;   // VS_VERSION_INFO
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedInfoSize = 52;          // sizeof(VS_FIXEDFILEINFO)
constexpr uint32_t kHighBit = 0x80000000u;     // resource entry: named / subdirectory
// The version block's head: three words and "VS_VERSION_INFO" as UTF-16 with its terminator,
// padded to 40 bytes, then the fixed information.
constexpr char kVersionKey[] = "VS_VERSION_INFO";
constexpr size_t kVersionHeadSize = 40;
constexpr uint32_t kMaxSections = 96;


struct Section {
  uint32_t virtual_address;
  uint32_t mapped_size;  // bytes of the section that are both in the file and in the image
  uint32_t raw_offset;
};

class Walker {
 public:
  explicit Walker(const PeByteSource& source) : source_(source) {}

  std::optional<PeProductVersion> Run() {
    if (!ReadHeaders()) return std::nullopt;
    std::optional<uint32_t> type_dir = FindSubdirectory(resource_rva_, kResourceTypeVersion);
    if (!type_dir) return std::nullopt;
    std::optional<uint32_t> name_dir = FindSubdirectory(*type_dir, kVersionResourceName);
    if (!name_dir) return std::nullopt;
    std::optional<uint32_t> data_entry = FirstDataEntry(*name_dir);
    if (!data_entry) return std::nullopt;
    return ReadVersionBlock(*data_entry);
  }

 private:
  // Fills `block` with the bytes at `offset`; false when they are not all there.
  bool Read(uint64_t offset, std::span<uint8_t> block) { return source_(offset, block.data(), block.size()); }

  bool ReadHeaders() {
    std::array<uint8_t, 64> dos_block;
    if (!Read(0, dos_block)) return false;
    ByteReader dos(dos_block);
    if (dos.ReadU16() != kDosSignature) return false;
    dos.Skip(kPeOffsetField - 2);
    const uint64_t pe = dos.ReadU32();

    std::array<uint8_t, 26> coff_block;  // signature, file header, optional-header magic
    if (!Read(pe, coff_block)) return false;
    ByteReader coff(coff_block);
    if (coff.ReadU32() != kPeSignature) return false;
    coff.Skip(2);  // machine
    const uint32_t section_count = coff.ReadU16();
    coff.Skip(12);  // time stamp, symbol table, symbol count
    const uint32_t optional_size = coff.ReadU16();
    coff.Skip(2);  // characteristics

    // The data directories sit at a fixed place per optional-header kind; the resource
    // directory is the third.
    uint32_t count_at;
    switch (coff.ReadU16()) {
      case 0x10B: count_at = 92; break;   // PE32
      case 0x20B: count_at = 108; break;  // PE32+
      default: return false;
    }
    const uint32_t resource_at = count_at + 4 + 2 * 8;
    if (optional_size < resource_at + 8) return false;
    std::array<uint8_t, 4> count_block;
    if (!Read(pe + 24 + count_at, count_block)) return false;
    ByteReader count(count_block);
    if (count.ReadU32() < 3) return false;
    std::array<uint8_t, 8> resource_block;
    if (!Read(pe + 24 + resource_at, resource_block)) return false;
    ByteReader resource(resource_block);
    resource_rva_ = resource.ReadU32();
    if (resource_rva_ == 0 || resource.ReadU32() == 0) return false;

    // Windows' own loader long refused more; the version block never needs an exotic layout.
    if (section_count > kMaxSections) return false;
    const uint64_t table = pe + 24 + optional_size;
    for (uint32_t i = 0; i < section_count; ++i) {
      std::array<uint8_t, 40> header_block;
      if (!Read(table + uint64_t{i} * 40, header_block)) return false;
      ByteReader header(header_block);
      header.Skip(8);  // name
      const uint32_t virtual_size = header.ReadU32();
      const uint32_t virtual_address = header.ReadU32();
      const uint32_t raw_size = header.ReadU32();
      const uint32_t raw_offset = header.ReadU32();
      // Only bytes both stored in the file and part of the image hold resource data.
      sections_[i] =
          Section{virtual_address, virtual_size != 0 && virtual_size < raw_size ? virtual_size : raw_size, raw_offset};
    }
    section_count_ = section_count;
    return true;
  }

  // Maps `size` bytes at `rva` to their file offset; they must lie within one section's data.
  std::optional<uint64_t> FileOffset(uint64_t rva, uint64_t size) {
    for (uint32_t i = 0; i < section_count_; ++i) {
      const Section& s = sections_[i];
      if (rva >= s.virtual_address && rva - s.virtual_address <= s.mapped_size &&
          size <= s.mapped_size - (rva - s.virtual_address)) {
        return uint64_t{s.raw_offset} + (rva - s.virtual_address);
      }
    }
    return std::nullopt;
  }

  bool ReadRva(uint64_t rva, std::span<uint8_t> block) {
    std::optional<uint64_t> at = FileOffset(rva, block.size());
    return at && Read(*at, block);
  }

  // Directory entries are offsets from the start of the resource data.
  struct Entry {
    uint32_t name;
    uint32_t target;
  };

  template <typename Visit>
  bool ForEachEntry(uint32_t directory_rva, Visit visit) {
    std::array<uint8_t, 16> head_block;
    if (!ReadRva(directory_rva, head_block)) return false;
    ByteReader head(head_block);
    head.Skip(12);  // characteristics, time stamp, version
    const uint32_t named = head.ReadU16();
    const uint32_t entries = named + head.ReadU16();
    for (uint32_t i = 0; i < entries; ++i) {
      std::array<uint8_t, 8> raw_block;
      if (!ReadRva(uint64_t{directory_rva} + 16 + uint64_t{i} * 8, raw_block)) return false;
      ByteReader raw(raw_block);
      const uint32_t name = raw.ReadU32();
      if (visit(Entry{name, raw.ReadU32()})) return true;
    }
    return false;
  }

  std::optional<uint32_t> ResourceRva(uint32_t offset) {
    const uint64_t rva = uint64_t{resource_rva_} + offset;
    if (rva > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<uint32_t>(rva);
  }

  std::optional<uint32_t> FindSubdirectory(uint32_t directory_rva, uint32_t id) {
    std::optional<uint32_t> found;
    ForEachEntry(directory_rva, [&](const Entry& e) {
      if (e.name != id || !(e.target & kHighBit)) return false;
      found = ResourceRva(e.target & ~kHighBit);
      return true;
    });
    return found;
  }

  // The language level: the first entry that is data, not a further directory.
  std::optional<uint32_t> FirstDataEntry(uint32_t directory_rva) {
    std::optional<uint32_t> found;
    ForEachEntry(directory_rva, [&](const Entry& e) {
      if (e.target & kHighBit) return false;
      found = ResourceRva(e.target);
      return true;
    });
    return found;
  }

  std::optional<PeProductVersion> ReadVersionBlock(uint32_t data_entry_rva) {
    std::array<uint8_t, 16> entry_block;
    if (!ReadRva(data_entry_rva, entry_block)) return std::nullopt;
    ByteReader entry(entry_block);
    const uint32_t block_rva = entry.ReadU32();
    const uint32_t block_size = entry.ReadU32();
    std::array<uint8_t, kVersionHeadSize + kFixedInfoSize> block_bytes;
    if (block_size < block_bytes.size()) return std::nullopt;
    if (!ReadRva(block_rva, block_bytes)) return std::nullopt;
    ByteReader block(block_bytes);
    const uint16_t length = block.ReadU16();
    const uint16_t value_length = block.ReadU16();
    if (length < block_bytes.size() || length > block_size || value_length < kFixedInfoSize) {
      return std::nullopt;
    }
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

  const PeByteSource& source_;
  uint32_t resource_rva_ = 0;
  std::array<Section, kMaxSections> sections_{};
  uint32_t section_count_ = 0;
};

}  // namespace

std::optional<PeProductVersion> ReadPeProductVersion(const PeByteSource& source) {
  return Walker(source).Run();
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
