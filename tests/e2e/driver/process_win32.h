// A program started by the driver, ended by it if it is still running when the driver lets
// go of it (so a failed scenario never leaves a window behind under Wine).
//
//   std::string why;
//   std::optional<ChildProcess> p = ChildProcess::Start("C:\\bin\\quillmark.exe", "", "C:\\game", &why);
//   std::optional<DWORD> code = p->WaitExit(30000);   // nullopt on timeout
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/handles_win32.h"

namespace qm::e2e {

class ChildProcess {
 public:
  // `arguments` follow the quoted program path on the command line; `folder` becomes the
  // program's current folder (empty: the driver's).
  static std::optional<ChildProcess> Start(const std::string& program, const std::string& arguments,
                                           const std::string& folder, std::string* why);
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  DWORD id() const { return id_; }
  bool Running() const;
  // The exit code once the process has ended within `timeout_ms`.
  std::optional<DWORD> WaitExit(DWORD timeout_ms);
  // Ends the process at once (exit code 255) and waits for it.
  void Kill();

 private:
  ChildProcess(HANDLE process, DWORD id) : process_(process), id_(id) {}

  KernelHandle process_;
  DWORD id_ = 0;
};

// The last Windows error as "text (code)".
std::string LastErrorText();

}  // namespace qm::e2e
