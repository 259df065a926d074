// qlmk's command table. Each command declares once its name, summary, positional arguments and
// options; the table parses a command line against that declaration, refuses what it does not
// declare, and writes the usage and the --help text from the same declaration.
//
//   constexpr Option kGameOptions[] = {{"--game", "DIR", "the game folder"}, ...};
//   const Command kShow = {
//       .name = "show",
//       .summary = "show every field of one hero",
//       .positionals = {{"ID"}},
//       .options = {{"--json", nullptr, "print the record as a JSON object"}},
//       .groups = {kGameOptions},
//       .details = "Shows every field of one record...\n",
//       .run = Show,
//   };
//
// A command with subcommands (archive list, patch apply, ...) is a group: the first word that
// is not an option names the subcommand, which declares its own positionals and options.
//
// Command lines: words that begin with '-' are options (except "-" itself and negative
// numbers), up to a "--" after which every word is positional. An option's value is the next
// word, or for a long option follows '=' (--game=DIR). --help and -h are always known. Every
// option must be declared, so a mistyped one (--jsno) is a usage error instead of ignored.
//
// Each word comes in two forms: as the system hands it over (in the Windows build, in the
// system code page, as file names are opened) and as UTF-8 text (hero names, keywords). Value()
// and positional() give the first, Text() and positional_text() the second; they differ only
// where the system's code page is not UTF-8.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qlmk {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Option {
  const char* name;   // "--game", "-o"
  const char* value;  // the value's name in usage ("DIR"), or nullptr for a flag
  const char* help;   // for --help, wrapped there
  // When given, the command takes no positional arguments: a second form of the command,
  // with its own usage line (table dump --archive ARCHIVE instead of TABLE_FILE).
  bool instead_of_positionals = false;
};

// Options that several commands take alike (--game and --archive, --codepage, the face
// options), declared once as a constexpr array.
using OptionGroup = std::span<const Option>;

struct Positional {
  const char* name;  // "ARCHIVE", "large|small"
  bool optional = false;
  bool repeats = false;  // takes every remaining word
};

class Args;
struct CommandLine;

struct Command {
  const char* name;
  // For the list of commands (qlmk --help, or the group's help); a subcommand's may run to a
  // few lines, which the help wraps.
  const char* summary;
  std::vector<Positional> positionals = {};
  std::vector<Option> options = {};      // the command's own options
  std::vector<OptionGroup> groups = {};  // shared options it takes as well
  // Paragraphs for --help, line breaks as written; without them the help shows the summary.
  // A group's details also close each of its subcommands' help.
  const char* details = nullptr;
  int (*run)(const Args& args) = nullptr;
  std::vector<Command> subcommands = {};
};

// The parsed command line a command runs with.
class Args {
 public:
  Args() = default;

  // The positional words, without the command's and subcommand's names.
  const std::vector<std::string>& positional() const { return positional_; }
  // The same words as UTF-8 text.
  const std::vector<std::string>& positional_text() const { return positional_text_; }
  bool Has(std::string_view option) const;
  // The option's value, or `fallback` when absent.
  std::string Value(std::string_view option, std::string fallback = "") const;
  // The option's value as UTF-8 text, or empty when absent.
  std::string Text(std::string_view option) const;

  // A usage error the command finds in its arguments ("unknown resize method"): writes the
  // message and the command's usage to stderr. Returns kExitUsage.
  int Usage(const std::string& message) const;

 private:
  friend CommandLine ParseCommandLine(const Command& command, const std::vector<std::string>& words,
                                      const std::vector<std::string>& texts);

  const Command* command_ = nullptr;
  const Command* subcommand_ = nullptr;
  std::vector<std::string> positional_, positional_text_;
  std::map<std::string, std::string, std::less<>> options_, option_texts_;
};

// A command line parsed against a command's declaration.
struct CommandLine {
  enum class Outcome { kRun, kHelp, kUsageError };
  Outcome outcome = Outcome::kUsageError;
  const Command* command = nullptr;     // the command given
  const Command* subcommand = nullptr;  // the subcommand named, when known
  std::string error;                    // for kUsageError; may be empty
  Args args;                            // for kRun

  // "archive list": the names that lead to what runs or is explained.
  std::string Path() const;
};

// Every option `command` takes: its own, then its groups' in order.
std::vector<const Option*> DeclaredOptions(const Command& command);
// "archive list": the command's name, then the subcommand's.
std::string CommandPath(const Command& command, const Command* subcommand = nullptr);

// Parses `words` (the words after the command's name) against `command`. `texts` holds the same
// words as UTF-8 text, one for each word; when empty, the words serve as texts too.
CommandLine ParseCommandLine(const Command& command, const std::vector<std::string>& words,
                             const std::vector<std::string>& texts = {});

// The usage lines of `command`, or of one of its subcommands: "usage: qlmk archive get ...".
std::string UsageText(const Command& command, const Command* subcommand = nullptr);
// The whole --help text: usage lines, the description, the subcommands and the options.
std::string HelpText(const Command& command, const Command* subcommand = nullptr);

// Parses and runs: --help prints the help to stdout (exit 0), a usage error the message and
// the usage to stderr (exit 2); otherwise the command's exit code.
int RunCommand(const Command& command, const std::vector<std::string>& words,
               const std::vector<std::string>& texts = {});

}  // namespace qlmk
