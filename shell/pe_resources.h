// Portable walk of the resource tree of a Windows executable (PE32 or PE32+), on the file as
// stored on disk (raw section offsets): nothing is mapped or run.
//
//   qm::PeResourceTree tree(source);
//   if (!tree.Open()) -> not an executable with resources
//   std::optional<qm::PeResourceData> version = tree.Find(16, 1);      // numeric type and id
//   std::optional<qm::PeResourceData> stub = tree.FindNamed("BIN", 107);  // named type
//   tree.ReadRva(version->rva, block);                                   // bytes inside one section
//
//   std::vector<uint8_t> bytes;
//   qm::Status s = qm::ReadPeResourceOfFile("quillmark.exe", "BIN", 107, &bytes);
//
// A resource is found as Windows finds it: type, then id, then the first language stored.
// Named types compare without regard to the case of ASCII letters, as FindResource does.
//
// Input is untrusted: every offset and size is checked against the data before it is used;
// the walk has a fixed depth of three directories, so a directory that points back at itself
// or at a level above only ends the search; images of more than 96 sections are refused; and
// no read while walking is larger than a hundred bytes whatever the headers claim. A resource's
// own bytes are read only once they are known to lie within one section and within the file.
//
// FindNamed and ReadPeResourceOfFile live in a file of their own, so that programs which only
// read version blocks do not carry them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_cursor.h"
#include "base/status.h"

namespace qm {

// Random access to the bytes of an image: fills `out` with `size` bytes from `offset`, or
// returns false when they are not all there.
using PeByteSource = std::function<bool(uint64_t offset, void* out, size_t size)>;

// A resource's data as its data entry describes it: where it is mapped and how long it is.
struct PeResourceData {
  uint32_t rva = 0;
  uint32_t size = 0;
};

class PeResourceTree {
 public:
  static constexpr uint32_t kMaxSections = 96;
  // The longest type name FindNamed looks for.
  static constexpr size_t kMaxTypeName = 32;

  // Keeps a reference: `source` must outlive the tree.
  explicit PeResourceTree(const PeByteSource& source) : source_(source) {}

  // Reads the headers and the section table; false when the image is no PE or has no resource
  // directory.
  bool Open();

  // The resource of numeric type `type` and id `id`, in its first language.
  std::optional<PeResourceData> Find(uint32_t type, uint32_t id) const;
  // The same for a named type ("BIN"); names of more than kMaxTypeName letters find nothing.
  std::optional<PeResourceData> FindNamed(std::string_view type, uint32_t id) const;

  // The file offset of `size` bytes mapped at `rva`; they must lie within one section's data.
  std::optional<uint64_t> FileOffset(uint64_t rva, uint64_t size) const;

  // Fills `block` with the bytes mapped at `rva`; false when they are not all there.
  bool ReadRva(uint64_t rva, std::span<uint8_t> block) const;

 private:
  // Directory entries: a name (an id, or with the high bit an offset to a name string) and a
  // target (with the high bit a subdirectory, else a data entry), both offsets from the start
  // of the resource data.
  struct Entry {
    uint32_t name;
    uint32_t target;
  };
  static constexpr uint32_t kHighBit = 0x80000000u;

  struct Section {
    uint32_t virtual_address;
    uint32_t mapped_size;  // bytes of the section that are both in the file and in the image
    uint32_t raw_offset;
  };

  bool Read(uint64_t offset, std::span<uint8_t> block) const { return source_(offset, block.data(), block.size()); }

  // The resource data offset `offset` as an address; none when it overflows.
  std::optional<uint32_t> ResourceRva(uint32_t offset) const {
    const uint64_t rva = uint64_t{resource_rva_} + offset;
    if (rva > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<uint32_t>(rva);
  }

  // Calls `visit` on each entry of the directory at `directory_rva` until it returns true;
  // true when one did. Each entry is read on its own, so a count the data cannot hold ends the
  // walk where the data ends.
  template <typename Visit>
  bool ForEachEntry(uint32_t directory_rva, Visit visit) const {
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

  // The subdirectory of the first entry of the directory at `directory_rva` that `match` accepts
  // and that has one.
  template <typename Match>
  std::optional<uint32_t> Subdirectory(uint32_t directory_rva, Match match) const {
    std::optional<uint32_t> found;
    ForEachEntry(directory_rva, [&](const Entry& e) {
      if (!(e.target & kHighBit) || !match(e)) return false;
      found = ResourceRva(e.target & ~kHighBit);
      return true;
    });
    return found;
  }

  // The three levels below the root: the type `is_type` accepts, the id, the first language.
  // A template, so that each kind of lookup compiles to one function in its own file.
  template <typename IsType>
  std::optional<PeResourceData> FindWhere(IsType is_type, uint32_t id) const {
    const std::optional<uint32_t> type = Subdirectory(resource_rva_, is_type);
    if (!type) return std::nullopt;
    const std::optional<uint32_t> languages = Subdirectory(*type, [id](const Entry& e) { return e.name == id; });
    if (!languages) return std::nullopt;
    std::optional<uint32_t> data_entry;
    ForEachEntry(*languages, [&](const Entry& e) {
      if (e.target & kHighBit) return false;
      data_entry = ResourceRva(e.target);
      return true;
    });
    std::array<uint8_t, 16> entry_block;  // address, size, code page, reserved
    if (!data_entry || !ReadRva(*data_entry, entry_block)) return std::nullopt;
    ByteReader entry(entry_block);
    const uint32_t rva = entry.ReadU32();
    return PeResourceData{rva, entry.ReadU32()};
  }

  const PeByteSource& source_;
  uint32_t resource_rva_ = 0;
  std::array<Section, kMaxSections> sections_{};
  uint32_t section_count_ = 0;
};

// The bytes of the resource of named type `type` and id `id` in the executable at `path`.
// Fails, saying why, when the file cannot be read, is no executable with resources, holds no
// such resource, or the resource does not lie within the file; `bytes` is then left empty.
Status ReadPeResourceOfFile(const std::string& path, std::string_view type, uint32_t id, std::vector<uint8_t>* bytes);

}  // namespace qm
