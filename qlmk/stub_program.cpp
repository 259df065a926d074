#include "qlmk/stub_program.h"

#include <filesystem>
#include <optional>

#include "base/os.h"
#include "qlmk/byte_io.h"
#include "shell/pe_resources.h"

namespace qlmk {

namespace {

std::string Normal(const std::filesystem::path& path) { return path.lexically_normal().string(); }

void Looked(std::string* looked, const std::string& place) { *looked += (looked->empty() ? "" : ", ") + place; }

// The exit code once a file at `path` was there to read; nothing (and `path` added to
// `looked`) when there is none.
std::optional<int> ReadIfThere(const std::string& path, std::vector<uint8_t>* bytes, std::string* looked) {
  if (!qm::os::FileExists(path)) {
    Looked(looked, path);
    return std::nullopt;
  }
  if (qm::Status s = ReadInputFile(path, bytes); !s) return Fail(path + ": " + s.why());
  return kExitOk;
}

}  // namespace

int LoadStubProgram(const Args& args, const StubProgram& stub, std::vector<uint8_t>* bytes) {
  if (args.Has("--stub")) {
    const std::string path = args.Value("--stub");
    if (qm::Status s = ReadInputFile(path, bytes); !s) return Fail(path + ": " + s.why());
    return kExitOk;
  }
  const std::optional<std::string> self = qm::os::OwnExecutablePath();
  if (!self) return Fail(std::string("cannot tell where qlmk lies to find ") + stub.file_name + "; give --stub FILE");
  const std::filesystem::path folder = std::filesystem::path(*self).parent_path();

  std::string looked;
  if (std::optional<int> rc = ReadIfThere(Normal(folder / stub.file_name), bytes, &looked)) return *rc;
  // An editor beside qlmk that does not give the stub (another program of that name, a damaged
  // file) only moves the search on; the message says why it was passed over.
  const std::string editor = Normal(folder / qm::kEditorFileName);
  if (qm::os::FileExists(editor)) {
    const qm::Status s = qm::ReadPeResourceOfFile(editor, qm::kEmbeddedProgramType, stub.resource_id, bytes);
    if (s) return kExitOk;
    Looked(&looked, editor + " (" + s.why() + ")");
  } else {
    Looked(&looked, editor);
  }
  for (const std::filesystem::path& place : {folder / ".." / "bin", folder / ".." / ".." / "win32" / "bin"}) {
    if (std::optional<int> rc = ReadIfThere(Normal(place / stub.file_name), bytes, &looked)) return *rc;
  }
  return Fail(std::string("cannot find the stub program ") + stub.file_name + " (looked at " + looked +
              "); keep qlmk beside quillmark.exe, build the win32 preset, or give --stub FILE");
}

}  // namespace qlmk
