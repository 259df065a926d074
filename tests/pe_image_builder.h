// Builds small PE images with a version resource, for tests of the version reader.
//
//   qm::test::PeImageSpec image_spec;          // PE32, one .rsrc section, product version 1.3.0.0
//   image_spec.product_ms = 0x00020001;
//   std::vector<uint8_t> image = qm::test::BuildPeImage(image_spec);
//
// The layout is fixed so tests can reach into it: DOS header at 0, PE header at 0x80, one
// section whose raw data starts at kRsrcFileOffset and is mapped at kRsrcRva. The resource
// tree inside it: root directory (0x00), type directory (0x18), name directory (0x30), data
// entry (0x48), version block (0x60).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qm::test {

constexpr uint32_t kRsrcRva = 0x1000;
constexpr uint32_t kRsrcFileOffset = 0x200;
constexpr uint32_t kRootDirAt = 0x00;
constexpr uint32_t kTypeDirAt = 0x18;
constexpr uint32_t kNameDirAt = 0x30;
constexpr uint32_t kDataEntryAt = 0x48;
constexpr uint32_t kVersionBlockAt = 0x60;

struct PeImageSpec {
  bool pe32_plus = false;
  uint32_t product_ms = 0x00010003;
  uint32_t product_ls = 0x00000000;
  uint32_t type_id = 16;        // RT_VERSION
  uint32_t name_id = 1;         // VS_VERSION_INFO
  std::string key = "VS_VERSION_INFO";
  uint32_t signature = 0xFEEF04BD;
  uint16_t value_length = 52;
  uint16_t extra_sections = 0;  // empty sections placed before .rsrc in the table
};

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline std::vector<uint8_t> BuildPeImage(const PeImageSpec& image_spec) {
  constexpr size_t kPe = 0x80;
  constexpr size_t kRsrcSize = 0x200;
  const uint16_t optional_size = image_spec.pe32_plus ? 240 : 224;
  const size_t section_table = kPe + 24 + optional_size;
  const uint16_t sections = static_cast<uint16_t>(image_spec.extra_sections + 1);
  const size_t rsrc_offset = kRsrcFileOffset > section_table + sections * 40u
                                 ? kRsrcFileOffset
                                 : (section_table + sections * 40u + 0x1FF) & ~size_t{0x1FF};
  std::vector<uint8_t> b(rsrc_offset + kRsrcSize, 0);

  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, kPe);
  std::memcpy(&b[kPe], "PE\0\0", 4);
  Put16(b, kPe + 4, image_spec.pe32_plus ? 0x8664 : 0x14C);
  Put16(b, kPe + 6, sections);
  Put16(b, kPe + 20, optional_size);
  const size_t opt = kPe + 24;
  Put16(b, opt, image_spec.pe32_plus ? 0x20B : 0x10B);
  const size_t count_at = opt + (image_spec.pe32_plus ? 108 : 92);
  Put32(b, count_at, 16);
  Put32(b, count_at + 4 + 2 * 8, kRsrcRva);
  Put32(b, count_at + 4 + 2 * 8 + 4, kRsrcSize);

  for (uint16_t i = 0; i < image_spec.extra_sections; ++i) {  // small sections elsewhere in memory
    const size_t s = section_table + i * 40u;
    std::memcpy(&b[s], ".data", 5);
    Put32(b, s + 8, 0x10);
    Put32(b, s + 12, 0x8000 + i * 0x1000u);
  }
  const size_t s = section_table + image_spec.extra_sections * 40u;
  std::memcpy(&b[s], ".rsrc", 5);
  Put32(b, s + 8, kRsrcSize);
  Put32(b, s + 12, kRsrcRva);
  Put32(b, s + 16, kRsrcSize);
  Put32(b, s + 20, static_cast<uint32_t>(rsrc_offset));

  const size_t r = rsrc_offset;
  auto directory = [&](uint32_t at, uint32_t id, uint32_t target) {
    Put16(b, r + at + 14, 1);  // one id entry
    Put32(b, r + at + 16, id);
    Put32(b, r + at + 20, target);
  };
  directory(kRootDirAt, image_spec.type_id, 0x80000000u | kTypeDirAt);
  directory(kTypeDirAt, image_spec.name_id, 0x80000000u | kNameDirAt);
  directory(kNameDirAt, 0x409, kDataEntryAt);

  const size_t v = r + kVersionBlockAt;
  const size_t key_bytes = (image_spec.key.size() + 1) * 2;
  const size_t value_at = (6 + key_bytes + 3) & ~size_t{3};
  const uint16_t block_length = static_cast<uint16_t>(value_at + 52);
  Put32(b, r + kDataEntryAt, kRsrcRva + kVersionBlockAt);
  Put32(b, r + kDataEntryAt + 4, block_length);
  Put16(b, v, block_length);
  Put16(b, v + 2, image_spec.value_length);
  for (size_t i = 0; i < image_spec.key.size(); ++i) Put16(b, v + 6 + 2 * i, static_cast<uint8_t>(image_spec.key[i]));
  Put32(b, v + value_at, image_spec.signature);
  Put32(b, v + value_at + 4, 0x00010000);
  Put32(b, v + value_at + 16, image_spec.product_ms);
  Put32(b, v + value_at + 20, image_spec.product_ls);
  return b;
}

}  // namespace qm::test
