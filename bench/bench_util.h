// What the benchmarks share: the command line, timing, medians, the printed figure lines, and
// the quick mode.
//
// In the quick mode (QM_BENCH_QUICK set, as `scripts/bench.sh --quick` and CI run them) every
// benchmark does one round on small sizes: the figures then mean nothing, but a benchmark that
// no longer runs fails.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// Checks the command line against `usage`, the program's name and one word per argument with
// the work folder last, and creates that folder. A wrong count prints the usage and fails.
inline bool CheckArguments(int argc, char** argv, const char* usage) {
  const int words = 1 + static_cast<int>(std::count(usage, usage + std::strlen(usage), ' '));
  if (argc != words) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[argc - 1], ec);
  return true;
}

// The main of a benchmark made of steps on one work folder: checks the command line as
// CheckArguments does (exit status 2), then runs the steps in order until one fails (1).
inline int RunSteps(int argc, char** argv, const char* usage,
                    std::initializer_list<bool (*)(const std::filesystem::path&)> steps) {
  if (!CheckArguments(argc, argv, usage)) return 2;
  const std::filesystem::path folder = argv[argc - 1];
  for (const auto step : steps) {
    if (!step(folder)) return 1;
  }
  return 0;
}

inline bool Quick() { return std::getenv("QM_BENCH_QUICK") != nullptr; }

// `full` normally, `quick` in the quick mode.
template <typename T>
T Sized(T full, T quick) {
  return Quick() ? quick : full;
}

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A figure with its target.
inline void Report(const char* what, const std::string& result, const std::string& target, bool met) {
  std::printf("  %-46s %14s   target %-10s %s\n", what, result.c_str(), target.c_str(), met ? "met" : "MISSED");
}

// A figure without a target.
inline void Figure(const char* what, const std::string& result) { std::printf("  %-46s %14s\n", what, result.c_str()); }

}  // namespace bench
