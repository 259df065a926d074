// Scratch files for fuzz targets whose code under test reads files rather than memory.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qm::fuzz {

// A private folder for this process (several fuzzers may run side by side), made once.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qm-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
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
