// qlmk's side of the terminal: the command line's words, UTF-8 on the console, and whether
// standard error is a terminal (progress lines go only where a person watches).
#pragma once

#include <string>
#include <vector>

namespace qlmk {

struct CommandWords {
  std::vector<std::string> words;  // as the system hands them over, for file names
  std::vector<std::string> texts;  // the same words as UTF-8 text
};

// The words after the program's name. On POSIX systems both forms are argv's bytes, UTF-8 on
// any current terminal; on Windows the texts come from the UTF-16 command line, so a letter
// outside the system's code page arrives intact.
CommandWords ReadCommandWords(int argc, char** argv);

// While it lives, a Windows console shows qlmk's UTF-8 output as UTF-8 (its code page is put
// back afterwards); elsewhere it does nothing.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  unsigned previous_ = 0;  // the console's output code page before, or 0
};

bool StderrIsTerminal();

}  // namespace qlmk
