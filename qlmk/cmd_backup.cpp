// qlmk backup and restore: the editor's backup into DATA/RESTORE.EXE, and what running that
// restore tool does, without the registry and without running it.
#include <cstdio>
#include <string>
#include <vector>

#include "heroes/game_paths.h"
#include "qlmk/command.h"
#include "qlmk/game_context.h"
#include "qlmk/sheet_options.h"
#include "qlmk/stub_program.h"
#include "restore/restore_walk.h"
#include "shell/backup.h"

namespace qlmk {
namespace {

const std::string kBackupUsage = std::string(
    "usage: qlmk backup [--game DIR] [--stub FILE]\n"
    "\n"
    "Writes DATA/RESTORE.EXE as the editor's backup does: the restore tool with the working\n"
    "archive (DATA/UPDATES.H4R, else DATA/HEROES4.H4R) and its file times appended, under the\n"
    "name DATA\\UPDATES.H4R. The old RESTORE.EXE is replaced only once the new one is complete.\n"
    "The editor's once-per-version marker in the registry is neither read nor written.\n"
    "  --game DIR       the game folder (default: the current directory)\n") +
    StubOptionHelp(kRestoreStubName);

constexpr const char* kRestoreUsage =
    "usage: qlmk restore RESTORE.EXE [--game DIR]\n"
    "\n"
    "Does what running RESTORE.EXE does: puts the backed-up files of its payload back into the\n"
    "game folder (each complete, or not at all) and gives DATA/UPDATES.H4R its saved times.\n"
    "Refuses a game without DATA/UPDATES.H4R and a game older than 1.1, as the tool does, and\n"
    "a payload whose names would leave the game folder.\n"
    "  --game DIR       the game folder (default: the current directory)\n";

int Backup(const std::vector<std::string>& words) {
  Args args(words, {"--game", "--stub"});
  const char* usage = kBackupUsage.c_str();
  if (args.help()) {
    std::fputs(usage, stdout);
    return kExitOk;
  }
  if (!args.error().empty()) return Usage(args.error(), usage);
  if (!args.positional().empty()) return Usage("backup takes no arguments", usage);
  const qm::GamePaths paths = qm::GamePathsForFolder(args.Value("--game"));
  if (paths.working_archive.empty()) return Fail(paths.game_folder + ": no DATA/UPDATES.H4R or DATA/HEROES4.H4R");
  std::vector<uint8_t> stub;
  if (int rc = LoadStubProgram(args, kRestoreStubName, &stub); rc != kExitOk) return rc;
  const std::string tool = qm::GamePathOfName(paths.game_folder, qm::kRestoreToolRelativePath);
  if (qm::Status s = qm::WriteBackup(stub, tool, paths.working_archive); !s) return Fail(tool + ": " + s.why());
  std::printf("%s: backup of %s written\n", tool.c_str(), paths.working_archive.c_str());
  return kExitOk;
}

int Restore(const std::vector<std::string>& words) {
  Args args(words, {"--game"});
  if (args.help()) {
    std::fputs(kRestoreUsage, stdout);
    return kExitOk;
  }
  if (!args.error().empty()) return Usage(args.error(), kRestoreUsage);
  if (args.positional().size() != 1) return Usage("restore needs RESTORE.EXE", kRestoreUsage);
  const std::string& tool = args.positional()[0];
  const std::string folder = qm::WithTrailingSeparator(args.Value("--game", "."));
  switch (qm::CheckRestoreStart(folder, GameVersionOfFolder(folder))) {
    case qm::RestoreStart::kNothingToRestore:
      return Fail(folder + ": Perhaps you don't need to restore UPDATE.H4R.");
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

QLMK_COMMAND("backup", "write DATA/RESTORE.EXE with a backup of the working archive", Backup);
QLMK_COMMAND("restore", "put back the backup a RESTORE.EXE carries, as running it does", Restore);

}  // namespace
}  // namespace qlmk
