// Replays a fuzz target's corpus without libFuzzer: every file in the folders (or the files)
// given on the command line goes once through the target's LLVMFuzzerTestOneInput. Built by the
// host build with its sanitizers, so an input that once crashed or broke a property (the target
// aborts) fails the test again if the fault comes back.
//
//   qm_replay_archive_fuzz fuzz/corpus/archive_fuzz
//
// Exit status: 0 when every input ran through, 2 when a folder is missing or holds no inputs or
// a file cannot be read (an empty replay must not pass for a good one).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Corpus inputs are small; this only bounds a stray file given by mistake.
constexpr uint64_t kMaxInputBytes = 64u << 20;

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given = argv[i];
    std::error_code ec;
    if (std::filesystem::is_directory(given, ec)) {
      for (const auto& entry : std::filesystem::directory_iterator(given, ec)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else if (std::filesystem::is_regular_file(given, ec)) {
      inputs.push_back(given);
    }
    if (ec) {
      std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
      return 2;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 2;
  }
  std::sort(inputs.begin(), inputs.end());
  std::vector<uint8_t> bytes;
  for (const std::filesystem::path& path : inputs) {
    if (qm::ReadWholeFile(path.string(), kMaxInputBytes, &bytes) != qm::ReadWholeResult::kOk) {
      std::fprintf(stderr, "%s: cannot read\n", path.string().c_str());
      return 2;
    }
    // Announced first, so that the input which brings a crash back is named in the log.
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", path.string().c_str(), bytes.size());
    // A copy of exactly the input's size, so that the sanitizers see a read past its end.
    const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
