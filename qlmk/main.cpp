// qlmk entry point: dispatches to the registered commands.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "program_version.h"
#include "qlmk/command.h"
#include "qlmk/terminal.h"

namespace qlmk {
namespace {

std::vector<const Command*>& Registry() {
  static std::vector<const Command*> commands;
  return commands;
}

void PrintHelp(FILE* out) {
  std::fprintf(out,
               "qlmk - Quillmark's command-line tool for Heroes of Might and Magic IV hero data\n\n"
               "usage: qlmk COMMAND [ARGS...]   (qlmk COMMAND --help for details)\n"
               "       qlmk --version\n\ncommands:\n");
  auto commands = Registry();
  std::sort(commands.begin(), commands.end(),
            [](const Command* a, const Command* b) { return std::strcmp(a->name, b->name) < 0; });
  for (const Command* c : commands) std::fprintf(out, "  %-12s %s\n", c->name, c->summary);
}

}  // namespace

void RegisterCommand(const Command& command) { Registry().push_back(&command); }

int Fail(const std::string& message) {
  std::fprintf(stderr, "qlmk: %s\n", message.c_str());
  return kExitFailed;
}

int Fail(const std::string& path, const qm::Status& status) { return Fail(path + ": " + status.why()); }

}  // namespace qlmk

int main(int argc, char** argv) {
  using namespace qlmk;
  const Utf8Console console;
  const CommandWords command_line = ReadCommandWords(argc, argv);
  const std::vector<std::string>& words = command_line.words;
  if (words.empty()) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(stdout);
    return kExitOk;
  }
  if (words[0] == "--version") {
    if (words.size() > 1) {
      std::fprintf(stderr, "qlmk: --version takes no arguments\n");
      return kExitUsage;
    }
    if (std::printf("qlmk %s\n", QM_VERSION_TEXT) < 0 || std::fflush(stdout) != 0) {
      return Fail("cannot write the version to standard output");
    }
    return kExitOk;
  }
  for (const Command* c : Registry()) {
    if (words[0] == c->name) {
      try {
        return RunCommand(*c, std::vector<std::string>(words.begin() + 1, words.end()),
                          std::vector<std::string>(command_line.texts.begin() + 1, command_line.texts.end()));
      } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what());
      }
    }
  }
  std::fprintf(stderr, "qlmk: unknown command '%s'\n", words[0].c_str());
  PrintHelp(stderr);
  return kExitUsage;
}
