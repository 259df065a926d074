#include <io.h>

#include <cstdio>

#include "qlmk/terminal.h"

namespace qlmk {

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace qlmk
