// qlmk entry point: dispatches to the registered command groups.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "qlmk/command.h"

namespace qlmk {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintHelp(FILE* out) {
  std::fprintf(out,
               "qlmk - Quillmark's command-line tool for Heroes of Might and Magic IV hero data\n\n"
               "usage: qlmk COMMAND [ARGS...]   (qlmk COMMAND --help for details)\n\ncommands:\n");
  auto commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
  for (const Command& c : commands) std::fprintf(out, "  %-12s %s\n", c.name, c.summary);
}

}  // namespace

void RegisterCommand(const Command& command) { Registry().push_back(command); }

Args::Args(std::vector<std::string> words, const std::vector<std::string>& valued,
           const std::vector<std::string>& flags) {
  auto takes_value = [&](const std::string& name) {
    return std::find(valued.begin(), valued.end(), name) != valued.end();
  };
  auto known = [&](const std::string& name) {
    return takes_value(name) || name == "--help" || name == "-h" ||
           std::find(flags.begin(), flags.end(), name) != flags.end();
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.size() > 1 && w[0] == '-' && !(w.size() > 1 && (w[1] >= '0' && w[1] <= '9'))) {
      std::string name = w, value;
      const size_t eq = w.find('=');
      const bool value_attached = eq != std::string::npos && w.rfind("--", 0) == 0;
      if (value_attached) {
        name = w.substr(0, eq);
        value = w.substr(eq + 1);
      }
      if (!known(name)) {
        if (error_.empty()) error_ = "unknown option " + name;
        continue;
      }
      if (!value_attached && takes_value(w)) {
        if (i + 1 >= words.size()) {
          if (error_.empty()) error_ = "option " + w + " needs a value";
          continue;
        }
        value = words[++i];
      }
      options_[name] = value;
    } else {
      positional_.push_back(w);
    }
  }
}

bool Args::Has(std::string_view option) const { return options_.find(option) != options_.end(); }

std::string Args::Value(std::string_view option, std::string fallback) const {
  auto it = options_.find(option);
  return it == options_.end() ? fallback : it->second;
}

int RunSubcommand(const std::vector<std::string>& words, const char* group, const std::vector<Subcommand>& table,
                  const char* usage) {
  // First pass with every subcommand's options, to tell the subcommand's name from option values.
  std::vector<std::string> valued, flags;
  for (const Subcommand& s : table) {
    valued.insert(valued.end(), s.valued.begin(), s.valued.end());
    flags.insert(flags.end(), s.flags.begin(), s.flags.end());
  }
  const Args all(words, valued, flags);
  if (all.help()) {
    std::fputs(usage, stdout);
    return kExitOk;
  }
  if (!all.error().empty()) return Usage(all.error(), usage);
  if (all.positional().empty()) return Usage("", usage);
  const std::string& name = all.positional()[0];
  for (const Subcommand& s : table) {
    if (name != s.name) continue;
    const Args args(words, s.valued, s.flags);
    if (!args.error().empty()) return Usage(args.error() + " for " + group + " " + name, usage);
    return s.run(args);
  }
  return Usage(std::string("unknown ") + group + " command '" + name + "'", usage);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "qlmk: %s\n", message.c_str());
  return kExitFailed;
}

int Usage(const std::string& message, const char* usage_text) {
  if (!message.empty()) std::fprintf(stderr, "qlmk: %s\n", message.c_str());
  std::fputs(usage_text, stderr);
  return kExitUsage;
}

}  // namespace qlmk

int main(int argc, char** argv) {
  using namespace qlmk;
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(stdout);
    return kExitOk;
  }
  for (const Command& c : Registry()) {
    if (words[0] == c.name) {
      try {
        return c.run(std::vector<std::string>(words.begin() + 1, words.end()));
      } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what());
      }
    }
  }
  std::fprintf(stderr, "qlmk: unknown command '%s'\n", words[0].c_str());
  PrintHelp(stderr);
  return kExitUsage;
}
