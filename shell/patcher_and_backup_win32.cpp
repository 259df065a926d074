#include "shell/patcher_and_backup_win32.h"

namespace qm {

bool BuildPatcher(HWND, const char*) { return false; }

bool OfferBackup(HWND, const std::string&, const std::string&) { return false; }

}  // namespace qm
