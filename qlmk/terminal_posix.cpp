#include <unistd.h>

#include <cstdio>

#include "qlmk/terminal.h"

namespace qlmk {

CommandWords ReadCommandWords(int argc, char** argv) {
  CommandWords out;
  for (int i = 1; i < argc; ++i) out.words.emplace_back(argv[i]);
  out.texts = out.words;
  return out;
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

}  // namespace qlmk
