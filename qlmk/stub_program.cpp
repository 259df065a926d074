#include "qlmk/stub_program.h"

#include <optional>

#include "base/os.h"
#include "base/path.h"
#include "qlmk/byte_io.h"

namespace qlmk {

namespace {

std::vector<std::string> Candidates(const char* stub_name) {
  std::vector<std::string> places;
  if (const std::optional<std::string> self = qm::os::OwnExecutablePath()) {
    places.push_back(qm::PathBeside(*self, stub_name));
  }
#ifdef QLMK_WIN32_BIN_DIR
  places.push_back(std::string(QLMK_WIN32_BIN_DIR) + "/" + stub_name);
#endif
  return places;
}

}  // namespace

int LoadStubProgram(const Args& args, const char* stub_name, std::vector<uint8_t>* bytes) {
  if (args.Has("--stub")) {
    const std::string path = args.Value("--stub");
    if (qm::Status s = ReadInputFile(path, bytes); !s) return Fail(path + ": " + s.why());
    return kExitOk;
  }
  std::string looked;
  for (const std::string& path : Candidates(stub_name)) {
    if (qm::os::FileExists(path)) {
      if (qm::Status s = ReadInputFile(path, bytes); !s) return Fail(path + ": " + s.why());
      return kExitOk;
    }
    looked += (looked.empty() ? "" : ", ") + path;
  }
  return Fail(std::string("cannot find the stub program ") + stub_name + " (looked at " +
              (looked.empty() ? "nothing" : looked) + "); build it with the win32 preset or give --stub FILE");
}

}  // namespace qlmk
