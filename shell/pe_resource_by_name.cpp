// Resources of named types, and a resource's bytes read from a file: what qlmk needs to take
// the stub programs out of the editor, kept apart from the walk the stubs link.
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/ascii.h"
#include "base/file.h"
#include "shell/pe_resources.h"

namespace qm {
namespace {

// True when the name string at `rva` (a 16-bit length, then as many UTF-16 units) is `type`.
bool NameIs(const PeResourceTree& tree, uint32_t rva, std::string_view type) {
  std::array<uint8_t, 2 + 2 * PeResourceTree::kMaxTypeName> block;
  const std::span<uint8_t> name = std::span<uint8_t>(block).first(2 + 2 * type.size());
  if (!tree.ReadRva(rva, name)) return false;
  ByteReader reader(name);
  if (reader.ReadU16() != type.size()) return false;
  for (const char c : type) {
    const uint16_t unit = reader.ReadU16();
    if (unit > 0x7F || AsciiLower(static_cast<char>(unit)) != AsciiLower(c)) return false;
  }
  return true;
}

std::string Describe(std::string_view type, uint32_t id) {
  return "resource " + std::string(type) + " " + std::to_string(id);
}

}  // namespace

std::optional<PeResourceData> PeResourceTree::FindNamed(std::string_view type, uint32_t id) const {
  if (type.empty() || type.size() > kMaxTypeName) return std::nullopt;
  return FindWhere(
      [&](const Entry& e) {
        if (!(e.name & kHighBit)) return false;
        const std::optional<uint32_t> name = ResourceRva(e.name & ~kHighBit);
        return name && NameIs(*this, *name, type);
      },
      id);
}

Status ReadPeResourceOfFile(const std::string& path, std::string_view type, uint32_t id, std::vector<uint8_t>* bytes) {
  bytes->clear();
  File file = File::Open(path, File::Mode::kRead);
  if (!file.is_open()) return Status::Fail(std::strerror(errno));
  const std::optional<uint64_t> file_size = file.Size();
  if (!file_size) return Status::Fail("cannot tell the file's size");
  const PeByteSource source = [&file](uint64_t offset, void* out, size_t size) {
    return file.Seek(offset) && file.Read(out, size);
  };
  PeResourceTree tree(source);
  if (!tree.Open()) return Status::Fail("not a Windows program with resources");
  const std::optional<PeResourceData> data = tree.FindNamed(type, id);
  if (!data) return Status::Fail("holds no " + Describe(type, id));
  if (data->size == 0) return Status::Fail(Describe(type, id) + " is empty");
  // The headers may claim sections larger than the file; the bytes must really be there
  // before any memory is set aside for them.
  const std::optional<uint64_t> at = tree.FileOffset(data->rva, data->size);
  if (!at || *at > *file_size || data->size > *file_size - *at) {
    return Status::Fail(Describe(type, id) + " lies outside the file");
  }
  std::vector<uint8_t> read(data->size);
  if (!file.Seek(*at) || !file.Read(read.data(), read.size())) {
    return Status::Fail("cannot read " + Describe(type, id));
  }
  *bytes = std::move(read);
  return Status::Ok();
}

}  // namespace qm
