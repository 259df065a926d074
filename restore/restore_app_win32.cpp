#include "restore/restore_app_win32.h"

#include <windows.h>

namespace qm::restore {
namespace {

constexpr char kTargetPath[] = "DATA\\UPDATES.H4R";

void Tell(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_OK); }

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int Run() {
  // The game is looked for in the current folder only, and reading the backup appended to
  // this program is not there yet, so an existing archive cannot be put back.
  if (!FileExists(kTargetPath)) {
    Tell("Perhaps you don't need to restore UPDATE.H4R.");
    return 0;
  }
  Tell("Failed to restore UPDATES.H4R file.");
  return 1;
}

}  // namespace qm::restore
