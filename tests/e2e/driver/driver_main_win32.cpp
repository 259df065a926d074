// qm_e2e_driver.exe: runs end-to-end scenarios against the Windows programs.
//
//   qm_e2e_driver [--workdir DIR] [--timeout MS] SCENARIO...
//
// Programs named in a scenario are found beside the driver. Exit code 0 when every scenario
// passed, 1 when one failed, 2 on a usage error. Under Wine, arguments that are Unix paths
// ("/work/...") are taken as paths on drive Z:, where Wine shows the Unix file system.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/driver/scenario.h"
#include "tests/e2e/driver/scenario_runner_win32.h"

namespace {

std::string HostPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string DriverFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return ".";
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string CurrentFolder() {
  char path[MAX_PATH];
  const DWORD n = GetCurrentDirectoryA(sizeof path, path);
  if (n == 0 || n >= sizeof path) return ".";
  std::string folder(path, n);
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

int Usage() {
  std::fprintf(stderr, "usage: qm_e2e_driver [--workdir DIR] [--timeout MS] SCENARIO...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qm::e2e::RunnerOptions options;
  options.program_folder = DriverFolder();
  options.work_folder = CurrentFolder();
  std::vector<std::string> scenarios;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--workdir" && i + 1 < argc) {
      options.work_folder = HostPath(argv[++i]);
    } else if (arg == "--timeout" && i + 1 < argc) {
      options.timeout_ms = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg.rfind("--", 0) == 0) {
      return Usage();
    } else {
      scenarios.push_back(HostPath(arg));
    }
  }
  if (scenarios.empty()) return Usage();

  bool all_passed = true;
  for (const std::string& path : scenarios) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "%s: cannot read\n", path.c_str());
      all_passed = false;
      continue;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    std::optional<std::vector<qm::e2e::Step>> steps = qm::e2e::ParseScenario(text.str(), &error);
    if (!steps) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
      all_passed = false;
      continue;
    }
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    qm::e2e::ScenarioRunner runner(options);
    const bool passed = runner.Run(*steps, name);
    std::printf("%s: %s (%zu steps)\n", name.c_str(), passed ? "passed" : "FAILED", steps->size());
    std::fflush(stdout);
    all_passed = all_passed && passed;
  }
  return all_passed ? 0 : 1;
}
