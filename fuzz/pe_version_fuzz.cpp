// Fuzzes the resource walk of executables: the version reader and the lookup of the stub
// programs the editor carries (named type "BIN"). The first input byte chooses the image: with
// bit 0 the demo game's HEROES4.EXE, else with bit 1 an image carrying BIN 107 and 108 beside its
// version block, each changed by the rest of the input (a cut length, then pairs of offset and
// byte written over it), which reaches deep into a real resource tree at once; else the input.
// Properties: nothing crashes or reads out of bounds; the memory and the file readers agree,
// and a resource read from the file is the bytes the walk found in memory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_files.h"
#include "shell/pe_resources.h"
#include "shell/pe_version.h"
#include "tools/demo_heroes4/demo_executable.h"
#include "tools/pe_image/pe_image_builder.h"

using qm::fuzz::Check;

namespace {

const std::vector<uint8_t>& ImageWithStubs() {
  static const std::vector<uint8_t> image = [] {
    qm::PeImageRecipe recipe;
    recipe.resources = {{.type_name = "BIN", .id = 107, .data = std::vector<uint8_t>(40, 0x51)},
                        {.type_name = "BIN", .id = 108, .data = std::vector<uint8_t>(24, 0x52)},
                        {.type_name = "", .type_id = 3, .id = 107, .data = std::vector<uint8_t>(8, 0x53)}};
    return qm::BuildPeImage(recipe);
  }();
  return image;
}

std::vector<uint8_t> Changed(std::span<const uint8_t> base, const uint8_t* data, size_t size) {
  std::vector<uint8_t> image(base.begin(), base.end());
  if (size >= 2) {
    const size_t cut = (size_t{data[0]} << 8 | data[1]) * 4;
    if (cut != 0 && cut < image.size()) image.resize(cut);
    data += 2;
    size -= 2;
  }
  for (; size >= 3 && !image.empty(); data += 3, size -= 3) {
    image[(size_t{data[0]} << 8 | data[1]) % image.size()] = data[2];
  }
  return image;
}

void CheckStub(std::span<const uint8_t> image, const std::string& path, uint32_t id) {
  const qm::PeByteSource memory = [image](uint64_t offset, void* out, size_t size) {
    if (offset > image.size() || size > image.size() - offset) return false;
    std::memcpy(out, image.data() + offset, size);
    return true;
  };
  qm::PeResourceTree tree(memory);
  std::optional<uint64_t> at;
  std::optional<qm::PeResourceData> found;
  if (tree.Open()) found = tree.FindNamed("BIN", id);
  if (found) at = tree.FileOffset(found->rva, found->size);

  std::vector<uint8_t> bytes;
  const qm::Status read = qm::ReadPeResourceOfFile(path, "BIN", id, &bytes);
  Check(read.ok() == (at && found->size != 0 && *at <= image.size() && found->size <= image.size() - *at));
  if (read.ok())
    Check(std::equal(bytes.begin(), bytes.end(), image.begin() + static_cast<ptrdiff_t>(*at)));
  else
    Check(bytes.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> image;
  if (data[0] & 1)
    image = Changed(qm::DemoGameExecutable(), data + 1, size - 1);
  else if (data[0] & 2)
    image = Changed(ImageWithStubs(), data + 1, size - 1);
  else
    image.assign(data + 1, data + size);
  const std::optional<qm::PeProductVersion> in_memory = qm::ReadPeProductVersion(image);

  static const std::string path = qm::fuzz::ScratchFile("HEROES4.EXE");
  qm::fuzz::WriteScratch(path, image.data(), image.size());
  const std::optional<qm::PeProductVersion> from_file = qm::ReadPeProductVersionOfFile(path);
  Check(in_memory.has_value() == from_file.has_value());
  if (in_memory) Check(in_memory->ms == from_file->ms && in_memory->ls == from_file->ls);
  for (const uint32_t id : {107u, 108u}) CheckStub(image, path, id);
  return 0;
}
