#include "shell/pe_resources.h"

namespace qm {
namespace {

constexpr uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr size_t kPeOffsetField = 0x3C;        // where the DOS header keeps the PE header's offset
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"

}  // namespace

bool PeResourceTree::Open() {
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

  // Windows' own loader long refused more; resources never need an exotic layout.
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

std::optional<uint64_t> PeResourceTree::FileOffset(uint64_t rva, uint64_t size) const {
  for (uint32_t i = 0; i < section_count_; ++i) {
    const Section& s = sections_[i];
    if (rva >= s.virtual_address && rva - s.virtual_address <= s.mapped_size &&
        size <= s.mapped_size - (rva - s.virtual_address)) {
      return uint64_t{s.raw_offset} + (rva - s.virtual_address);
    }
  }
  return std::nullopt;
}

bool PeResourceTree::ReadRva(uint64_t rva, std::span<uint8_t> block) const {
  std::optional<uint64_t> at = FileOffset(rva, block.size());
  return at && Read(*at, block);
}

std::optional<PeResourceData> PeResourceTree::Find(uint32_t type, uint32_t id) const {
  return FindWhere([type](const Entry& e) { return e.name == type; }, id);
}

}  // namespace qm
