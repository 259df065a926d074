#include "qlmk/stub_program.h"

#include <filesystem>
#include <optional>

#include "base/os.h"
#include "qlmk/byte_io.h"

namespace qlmk {

namespace {

// Relative to qlmk's own folder: beside it (a release folder holds the programs together), then
// the win32 build's bin folder as seen from the win32 build's qlmk folder and from the qlmk
// folder of a host build (debug or release) beside it.
std::vector<std::string> Candidates(const char* stub_name) {
  std::vector<std::string> places;
  const std::optional<std::string> self = qm::os::OwnExecutablePath();
  if (!self) return places;
  const std::filesystem::path folder = std::filesystem::path(*self).parent_path();
  for (const std::filesystem::path& place :
       {folder / stub_name, folder / ".." / "bin" / stub_name, folder / ".." / ".." / "win32" / "bin" / stub_name}) {
    places.push_back(place.lexically_normal().string());
  }
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
