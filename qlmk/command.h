// qlmk: the command-line tool over the Quillmark core.
//
// Each command group lives in a file of its own (cmd_*.cpp) and registers itself with
// QLMK_COMMAND. Exit codes: 0 success, 1 the operation failed (one line on stderr naming the
// file and the reason), 2 usage error.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qlmk {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Parsed command line: positional words, and options given as --name, --name VALUE,
// --name=VALUE or -o VALUE. The command declares every option it takes, so a mistyped option
// (--jsno, a misspelt --dry-run) is a usage error instead of being ignored.
class Args {
 public:
  // `valued` lists the options that take a value (for example {"-o", "--game"}), `flags` those
  // that do not (for example {"--json"}). --help and -h are always known.
  Args(std::vector<std::string> words, const std::vector<std::string>& valued,
       const std::vector<std::string>& flags = {});

  const std::vector<std::string>& positional() const { return positional_; }
  bool Has(std::string_view option) const;
  // The option's value, or `fallback` when absent.
  std::string Value(std::string_view option, std::string fallback = "") const;
  bool help() const { return Has("--help") || Has("-h"); }
  // The first problem (an unknown option, a missing value), or empty. Commands report it as a
  // usage error.
  const std::string& error() const { return error_; }

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string, std::less<>> options_;
  std::string error_;
};

struct Command {
  const char* name;     // first word on the command line, for example "archive"
  const char* summary;  // one line for `qlmk --help`
  int (*run)(const std::vector<std::string>& words);  // words after the command name
};

void RegisterCommand(const Command& command);

// One subcommand of a command group (archive list, patch apply, ...) and the options it takes.
struct Subcommand {
  const char* name;
  std::vector<std::string> valued;  // options that take a value
  std::vector<std::string> flags;   // options that do not
  int (*run)(const Args& args);     // args.positional()[0] is the subcommand's name
};

// Runs the subcommand named by the first word that is not an option. --help prints `usage`;
// a missing or unknown subcommand, or an option that subcommand does not take, is a usage
// error. `group` names the command in messages ("archive").
int RunSubcommand(const std::vector<std::string>& words, const char* group, const std::vector<Subcommand>& table,
                  const char* usage);

// Prints "qlmk: <message>" to stderr and returns kExitFailed / kExitUsage.
int Fail(const std::string& message);
int Usage(const std::string& message, const char* usage_text);

}  // namespace qlmk

#define QLMK_CONCAT_INNER(a, b) a##b
#define QLMK_CONCAT(a, b) QLMK_CONCAT_INNER(a, b)
#define QLMK_COMMAND(name, summary, fn) \
  static const bool QLMK_CONCAT(qlmk_registered_, __LINE__) = (::qlmk::RegisterCommand({name, summary, fn}), true)
