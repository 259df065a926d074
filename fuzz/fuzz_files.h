// Scratch files for fuzz targets whose code under test reads files rather than memory.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qm::fuzz {

// Where the scratch folder lies; plain storage, so it is still there for the exit handler.
inline char g_scratch_folder[4096];

inline void RemoveScratchFolder() {
  const std::string command = std::string("rm -rf '") + g_scratch_folder + "'";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", g_scratch_folder);
}

// A private folder for this process (several fuzzers may run side by side), made once and
// removed at exit. In memory (/dev/shm) where there is one: the targets write files on every
// run. TMPDIR chooses another place.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp && *tmp ? tmp : (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    std::string pattern = base + "/qm-fuzz-XXXXXX";
    if (pattern.size() >= sizeof g_scratch_folder || !mkdtemp(pattern.data())) std::abort();
    std::snprintf(g_scratch_folder, sizeof g_scratch_folder, "%s", pattern.c_str());
    std::atexit(RemoveScratchFolder);
    return pattern;
  }();
  return folder;
}

inline std::string ScratchFile(const char* name) { return ScratchFolder() + "/" + name; }

inline void WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  if (std::fclose(f) != 0) std::abort();
}

inline void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace qm::fuzz
