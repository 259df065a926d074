// Fuzzes the version reader for executables. The first input byte chooses the image: the input
// itself, or the demo game's HEROES4.EXE changed by the input (a cut length, then pairs of
// offset and byte written over it), which reaches deep into a real resource tree at once.
// Properties: nothing crashes or reads out of bounds; the memory and the file reader agree.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_files.h"
#include "shell/pe_version.h"
#include "tools/demo_heroes4/demo_executable.h"

using qm::fuzz::Check;

namespace {

std::vector<uint8_t> ChangedDemo(const uint8_t* data, size_t size) {
  std::span<const uint8_t> demo = qm::DemoGameExecutable();
  std::vector<uint8_t> image(demo.begin(), demo.end());
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<uint8_t> image =
      data[0] & 1 ? ChangedDemo(data + 1, size - 1) : std::vector<uint8_t>(data + 1, data + size);
  const std::optional<qm::PeProductVersion> in_memory = qm::ReadPeProductVersion(image);

  static const std::string path = qm::fuzz::ScratchFile("HEROES4.EXE");
  qm::fuzz::WriteScratch(path, image.data(), image.size());
  const std::optional<qm::PeProductVersion> from_file = qm::ReadPeProductVersionOfFile(path);
  Check(in_memory.has_value() == from_file.has_value());
  if (in_memory) Check(in_memory->ms == from_file->ms && in_memory->ls == from_file->ls);
  return 0;
}
