// Double-byte lead bytes of the system's ANSI code page.
#include <windows.h>

#include "shell/status_text.h"

namespace qm {

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace qm
