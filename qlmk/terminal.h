// Whether standard error is a terminal, so progress lines go only where a person watches.
#pragma once

namespace qlmk {

bool StderrIsTerminal();

}  // namespace qlmk
