#include "tools/demo_heroes4/demo_executable.h"

#include <cstddef>

namespace qm {

// Generated from HEROES4.EXE at build time (cmake/embed_bytes.cmake).
extern const uint8_t kDemoGameExecutableBytes[];
extern const size_t kDemoGameExecutableSize;

std::span<const uint8_t> DemoGameExecutable() {
  return {kDemoGameExecutableBytes, kDemoGameExecutableSize};
}

}  // namespace qm
