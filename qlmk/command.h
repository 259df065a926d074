// qlmk: the command-line tool over the Quillmark core.
//
// Each command group lives in a file of its own (cmd_*.cpp), declares itself as a Command of
// the command table and registers with QLMK_COMMAND. Exit codes: 0 success, 1 the operation
// failed (one line on stderr naming the file and the reason), 2 usage error.
#pragma once

#include <string>

#include "base/status.h"
#include "qlmk/command_table.h"

namespace qlmk {

// Registers a command for main's dispatch and for qlmk --help; `command` lives as long as the
// program.
void RegisterCommand(const Command& command);

// Prints "qlmk: <message>" to stderr and returns kExitFailed.
int Fail(const std::string& message);
// Prints "qlmk: <path>: <reason>" for a failed operation on `path`.
int Fail(const std::string& path, const qm::Status& status);

}  // namespace qlmk

#define QLMK_CONCAT_INNER(a, b) a##b
#define QLMK_CONCAT(a, b) QLMK_CONCAT_INNER(a, b)
#define QLMK_COMMAND(command) \
  static const bool QLMK_CONCAT(qlmk_registered_, __LINE__) = (::qlmk::RegisterCommand(command), true)
