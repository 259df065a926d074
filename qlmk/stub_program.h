// Where qlmk finds the two stub programs it writes out (qlmksfx.exe for patch build,
// restore.exe for backup), in this order: the file given with --stub; else, relative to qlmk's
// own executable, the file of that name beside it (the Linux release folder); the copy the editor
// carries inside it, read from a quillmark.exe beside qlmk (the Windows release folder); then
// the file in the win32 build's bin folder (../bin from the win32 build's qlmk, ../../win32/bin
// from a host build's, debug or release).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qlmk/command.h"
#include "shell/embedded_programs.h"

namespace qlmk {

struct StubProgram {
  const char* file_name;
  uint16_t resource_id;  // the editor's resource that carries it
};

constexpr StubProgram kPatcherStub = {"qlmksfx.exe", qm::kPatcherResourceId};
constexpr StubProgram kRestoreStub = {"restore.exe", qm::kRestoreToolResourceId};

// --stub FILE, for the command that writes out each stub program.
inline constexpr Option kPatcherStubOption[] = {
    {"--stub", "FILE",
     "the stub program to write out; by default qlmksfx.exe beside qlmk, else the one inside quillmark.exe beside "
     "qlmk, else qlmksfx.exe in the win32 build beside the build qlmk belongs to"},
};
inline constexpr Option kRestoreStubOption[] = {
    {"--stub", "FILE",
     "the stub program to write out; by default restore.exe beside qlmk, else the one inside quillmark.exe beside "
     "qlmk, else restore.exe in the win32 build beside the build qlmk belongs to"},
};

// Reads the stub's bytes. Returns kExitOk, or the exit code after a message naming every
// place looked in and, for a quillmark.exe that is there but does not give the stub, why.
int LoadStubProgram(const Args& args, const StubProgram& stub, std::vector<uint8_t>* bytes);

}  // namespace qlmk
