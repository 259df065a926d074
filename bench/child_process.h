// Runs a program, or a piece of this one, as a child process and measures its wall time and
// peak resident memory (Linux: wait4's rusage), so each figure is the child's alone.
//
//   bench::Run run = bench::RunTool("/usr/bin/convert", {"in.jpg", "out.png"}, "log.txt");
//   bench::Run own = bench::RunInChild([] { return Work() ? 0 : 1; });
//   if (run.ok) printf("%.2f s, %.0f MB", run.seconds, run.peak_mb);
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Run {
  bool ok = false;  // exited with status 0
  double seconds = 0;
  double peak_mb = 0;
};

namespace detail {

template <typename Child>
Run Measure(Child child) {
  Run run;
  std::fflush(stdout);  // else the child would print what is still buffered here
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) _exit(child());
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

}  // namespace detail

// Runs `tool` with `args`, its standard output to `log`.
inline Run RunTool(const std::string& tool, const std::vector<std::string>& args, const std::string& log) {
  std::vector<std::string> words = {tool};
  words.insert(words.end(), args.begin(), args.end());
  return detail::Measure([&] {
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    if (!std::freopen(log.c_str(), "w", stdout)) return 127;
    execv(tool.c_str(), argv.data());
    return 127;
  });
}

// Runs `work` in a forked child; its result is the child's exit status.
inline Run RunInChild(const std::function<int()>& work) { return detail::Measure(work); }

}  // namespace bench
