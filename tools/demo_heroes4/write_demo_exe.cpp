// Writes the demo game's HEROES4.EXE to the file named on the command line (a build step).
#include <cstdio>
#include <span>

#include "base/file.h"
#include "tools/demo_heroes4/demo_executable.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qm_write_demo_exe FILE\n");
    return 2;
  }
  const std::span<const uint8_t> exe = qm::DemoGameExecutable();
  qm::File f = qm::File::Open(argv[1], qm::File::Mode::kCreate);
  if (!f.is_open() || !f.Write(exe.data(), exe.size()) || !f.Close()) {
    std::fprintf(stderr, "qm_write_demo_exe: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
