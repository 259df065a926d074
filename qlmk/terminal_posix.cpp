#include <unistd.h>

#include <cstdio>

#include "qlmk/terminal.h"

namespace qlmk {

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

}  // namespace qlmk
