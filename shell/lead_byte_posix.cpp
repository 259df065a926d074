// Texts off Windows are in the single-byte code pages hero texts use: no lead bytes.
#include "shell/status_text.h"

namespace qm {

bool SystemLeadByte(unsigned char) { return false; }

}  // namespace qm
