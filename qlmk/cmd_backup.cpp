// qlmk backup and restore: the editor's backup into DATA/RESTORE.EXE, and what running that
// restore tool does, without the registry and without running it.
#include <cstdio>
#include <string>
#include <vector>

#include "base/path.h"
#include "heroes/game_paths.h"
#include "qlmk/command.h"
#include "qlmk/game_context.h"
#include "qlmk/stub_program.h"
#include "restore/restore_walk.h"
#include "shell/backup.h"

namespace qlmk {
namespace {

int Backup(const Args& args) {
  const qm::GamePaths paths = qm::GamePathsForFolder(args.Value("--game"));
  if (paths.working_archive.empty()) return Fail(paths.game_folder + ": no DATA/UPDATES.H4R or DATA/HEROES4.H4R");
  std::vector<uint8_t> stub;
  if (int rc = LoadStubProgram(args, kRestoreStub, &stub); rc != kExitOk) return rc;
  const std::string tool = qm::GamePathOfName(paths.game_folder, qm::kRestoreToolRelativePath);
  if (qm::Status s = qm::WriteBackup(stub, tool, paths.working_archive); !s) return Fail(tool + ": " + s.why());
  std::printf("%s: backup of %s written\n", tool.c_str(), paths.working_archive.c_str());
  return kExitOk;
}

int Restore(const Args& args) {
  const std::string& tool = args.positional()[0];
  const std::string folder = qm::WithTrailingSeparator(args.Value("--game", "."));
  switch (qm::CheckRestoreStart(folder, GameVersionOfFolder(folder))) {
    case qm::RestoreStart::kNothingToRestore: return Fail(folder + ": Perhaps you don't need to restore UPDATES.H4R.");
    case qm::RestoreStart::kVersionTooOld:
      return Fail(folder + ": Your current version seems 1.0, you can't restore.");
    case qm::RestoreStart::kGo:
      break;
  }
  qm::RestoreReport report;
  const qm::Status s = qm::RestoreFromPayload(tool, folder, &report);
  for (const std::string& f : report.files_restored) std::printf("restored %s\n", f.c_str());
  for (const std::string& f : report.times_applied) std::printf("times set on %s\n", f.c_str());
  for (const std::string& w : report.warnings) std::fprintf(stderr, "qlmk: warning: %s\n", w.c_str());
  if (!s) return Fail("Failed to restore UPDATES.H4R file. (" + s.why() + ")");
  std::printf("Restored UPDATES.H4R file successfully.\n");
  return kExitOk;
}

const Command kBackup = {
    .name = "backup",
    .summary = "write DATA/RESTORE.EXE with a backup of the working archive",
    .groups = {kGameFolderOption, kRestoreStubOption},
    .details =
        "Writes DATA/RESTORE.EXE as the editor's backup does: the restore tool with the working\n"
        "archive (DATA/UPDATES.H4R, else DATA/HEROES4.H4R) and its file times appended, under the\n"
        "name DATA\\UPDATES.H4R. The old RESTORE.EXE is replaced only once the new one is complete.\n"
        "The editor's once-per-version marker in the registry is neither read nor written.\n",
    .run = Backup,
};
QLMK_COMMAND(kBackup);

const Command kRestore = {
    .name = "restore",
    .summary = "put back the backup a RESTORE.EXE carries, as running it does",
    .positionals = {{"RESTORE.EXE"}},
    .groups = {kGameFolderOption},
    .details =
        "Does what running RESTORE.EXE does: puts the backed-up files of its payload back into the\n"
        "game folder (each complete, or not at all) and gives DATA/UPDATES.H4R its saved times.\n"
        "Refuses a game without DATA/UPDATES.H4R and a game older than 1.1, as the tool does, and\n"
        "a payload whose names would leave the game folder.\n",
    .run = Restore,
};
QLMK_COMMAND(kRestore);

}  // namespace
}  // namespace qlmk
