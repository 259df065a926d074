#include "shell/pe_version.h"

#include <array>
#include <cstring>

#include "base/file.h"
#include "base/little_endian.h"

namespace qm {
namespace {

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
  bool Read(uint64_t offset, void* out, size_t size) { return source_(offset, out, size); }

  bool ReadHeaders() {
    std::array<uint8_t, 64> dos;
    if (!Read(0, dos.data(), dos.size()) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const uint64_t pe = LoadU32(&dos[0x3C]);

    std::array<uint8_t, 24> coff;  // signature and file header
    if (!Read(pe, coff.data(), coff.size())) return false;
    if (std::memcmp(coff.data(), "PE\0\0", 4) != 0) return false;
    const uint32_t section_count = LoadU16(&coff[6]);
    const uint32_t optional_size = LoadU16(&coff[20]);

    // The data directories sit at a fixed place per optional-header kind; the resource
    // directory is the third.
    std::array<uint8_t, 2> magic;
    if (!Read(pe + 24, magic.data(), magic.size())) return false;
    uint32_t count_at;
    switch (LoadU16(magic.data())) {
      case 0x10B: count_at = 92; break;   // PE32
      case 0x20B: count_at = 108; break;  // PE32+
      default: return false;
    }
    const uint32_t resource_at = count_at + 4 + 2 * 8;
    if (optional_size < resource_at + 8) return false;
    std::array<uint8_t, 4> count;
    std::array<uint8_t, 8> resource;
    if (!Read(pe + 24 + count_at, count.data(), count.size()) || LoadU32(count.data()) < 3) return false;
    if (!Read(pe + 24 + resource_at, resource.data(), resource.size())) return false;
    resource_rva_ = LoadU32(&resource[0]);
    if (resource_rva_ == 0 || LoadU32(&resource[4]) == 0) return false;

    // Windows' own loader long refused more; the version block never needs an exotic layout.
    if (section_count > kMaxSections) return false;
    const uint64_t table = pe + 24 + optional_size;
    for (uint32_t i = 0; i < section_count; ++i) {
      std::array<uint8_t, 40> header;
      if (!Read(table + uint64_t{i} * 40, header.data(), header.size())) return false;
      // Only bytes both stored in the file and part of the image hold resource data.
      const uint32_t virtual_size = LoadU32(&header[8]);
      const uint32_t raw_size = LoadU32(&header[16]);
      sections_[i] = Section{LoadU32(&header[12]),
                             virtual_size != 0 && virtual_size < raw_size ? virtual_size : raw_size,
                             LoadU32(&header[20])};
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

  bool ReadRva(uint64_t rva, void* out, size_t size) {
    std::optional<uint64_t> at = FileOffset(rva, size);
    return at && Read(*at, out, size);
  }

  // Directory entries are offsets from the start of the resource data.
  struct Entry {
    uint32_t name;
    uint32_t target;
  };

  template <typename Visit>
  bool ForEachEntry(uint32_t directory_rva, Visit visit) {
    std::array<uint8_t, 16> head;
    if (!ReadRva(directory_rva, head.data(), head.size())) return false;
    const uint32_t entries = uint32_t{LoadU16(&head[12])} + LoadU16(&head[14]);
    for (uint32_t i = 0; i < entries; ++i) {
      std::array<uint8_t, 8> raw;
      if (!ReadRva(uint64_t{directory_rva} + 16 + uint64_t{i} * 8, raw.data(), raw.size())) return false;
      if (visit(Entry{LoadU32(&raw[0]), LoadU32(&raw[4])})) return true;
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
    std::array<uint8_t, 16> entry;
    if (!ReadRva(data_entry_rva, entry.data(), entry.size())) return std::nullopt;
    const uint32_t block_rva = LoadU32(&entry[0]);
    const uint32_t block_size = LoadU32(&entry[4]);
    std::array<uint8_t, kVersionHeadSize + kFixedInfoSize> block;
    if (block_size < block.size() || !ReadRva(block_rva, block.data(), block.size())) {
      return std::nullopt;
    }
    const uint16_t length = LoadU16(&block[0]);
    const uint16_t value_length = LoadU16(&block[2]);
    if (length < block.size() || length > block_size || value_length < kFixedInfoSize) {
      return std::nullopt;
    }
    for (size_t i = 0; i < sizeof kVersionKey; ++i) {  // the terminator is compared too
      if (LoadU16(&block[6 + 2 * i]) != static_cast<uint8_t>(kVersionKey[i])) return std::nullopt;
    }
    const uint8_t* fixed = &block[kVersionHeadSize];
    if (LoadU32(fixed) != kFixedInfoSignature) return std::nullopt;
    return PeProductVersion{LoadU32(fixed + 16), LoadU32(fixed + 20)};
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
