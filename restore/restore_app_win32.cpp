#include "restore/restore_app_win32.h"

#include <windows.h>

#include "base/os.h"
#include "restore/restore_walk.h"
#include "shell/game_search.h"
#include "shell/game_search_win32.h"
#include "shell/game_version.h"

namespace qm::restore {
namespace {

void Tell(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_OK); }

}  // namespace

int Run() {
  const GameSearch found = LocateStubGame(PlatformGameSearchHost(), kGameRegistryKeys, true);
  const std::string& folder = found.folder;  // empty when no game was found
  const float version = found.found ? GameVersionOfFolder(folder) : 0.0f;
  switch (CheckRestoreStart(folder, version)) {
    case RestoreStart::kNothingToRestore: Tell("Perhaps you don't need to restore UPDATES.H4R."); return 0;
    case RestoreStart::kVersionTooOld:
      Tell("Your current version seems 1.0, you can't restore.");
      return 0;
    case RestoreStart::kGo:
      break;
  }
  const std::optional<std::string> self = os::OwnExecutablePath();
  const bool restored = self && RestoreFromPayload(*self, folder).ok();
  Tell(restored ? "Restored UPDATES.H4R file successfully." : "Failed to restore UPDATES.H4R file.");
  return 1;
}

}  // namespace qm::restore
