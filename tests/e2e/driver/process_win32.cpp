#include "tests/e2e/driver/process_win32.h"

#include <utility>
#include <vector>

namespace qm::e2e {

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                 text, sizeof text, nullptr);
  std::string s = text;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s + " (" + std::to_string(code) + ")";
}

std::optional<ChildProcess> ChildProcess::Start(const std::string& program,
                                                const std::string& arguments,
                                                const std::string& folder, std::string* why) {
  std::string command = "\"" + program + "\"";
  if (!arguments.empty()) command += " " + arguments;
  std::vector<char> command_line(command.begin(), command.end());
  command_line.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    if (why) *why = "cannot start " + program + ": " + LastErrorText();
    return std::nullopt;
  }
  const KernelHandle thread(info.hThread);  // only the process is watched
  return ChildProcess(info.hProcess, info.dwProcessId);
}

ChildProcess::~ChildProcess() {
  if (Running()) Kill();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::move(other.process_)), id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    if (Running()) Kill();
    process_ = std::move(other.process_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> ChildProcess::WaitExit(DWORD timeout_ms) {
  if (!process_ || WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

void ChildProcess::Kill() {
  if (!process_) return;
  TerminateProcess(process_.get(), 255);
  WaitForSingleObject(process_.get(), 10000);
}

}  // namespace qm::e2e
