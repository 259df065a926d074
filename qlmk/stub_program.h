// Where qlmk finds the two stub programs it writes out (qlmksfx.exe for patch build,
// restore.exe for backup): the file given with --stub; else, relative to qlmk's own executable,
// the file of that name beside it (a release folder), then in the win32 build's bin folder
// (../bin from the win32 build's qlmk, ../../win32/bin from a host build's, debug or release).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qlmk/command.h"

namespace qlmk {

constexpr const char* kPatcherStubName = "qlmksfx.exe";
constexpr const char* kRestoreStubName = "restore.exe";

// --stub FILE, for the command that writes out each stub program.
inline constexpr Option kPatcherStubOption[] = {
    {"--stub", "FILE",
     "the stub program to write out; by default qlmksfx.exe beside qlmk, else in the win32 build beside the build "
     "qlmk belongs to"},
};
inline constexpr Option kRestoreStubOption[] = {
    {"--stub", "FILE",
     "the stub program to write out; by default restore.exe beside qlmk, else in the win32 build beside the build "
     "qlmk belongs to"},
};

// Reads the stub's bytes. Returns kExitOk, or the exit code after a message naming every
// place looked in.
int LoadStubProgram(const Args& args, const char* stub_name, std::vector<uint8_t>* bytes);

}  // namespace qlmk
