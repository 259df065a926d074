// qlmk save, wipe: the editor's Save and Wipe buttons.
#include <cstdio>
#include <string>
#include <vector>

#include "archive/h4r_wipe.h"
#include "qlmk/command.h"
#include "qlmk/game_context.h"
#include "resources/string_ids.h"

namespace qlmk {
namespace {

const std::string kSaveUsage = std::string(
    "usage: qlmk save [--game DIR] [--archive FILE]\n"
    "\n"
    "Loads the catalogue and saves it again into the working archive: the hero table and all\n"
    "twelve portrait bundles, as the editor's Save does.\n") + kGameOptionsHelp;

const std::string kWipeUsage = std::string(
    "usage: qlmk wipe [--game DIR] [--archive FILE]\n"
    "\n"
    "Compacts the working archive: drops the dead space that replaced entries leave behind.\n"
    "The archive is rebuilt beside itself and put in place only when complete.\n") + kGameOptionsHelp;

int Help(const std::string& usage) {
  std::fputs(usage.c_str(), stdout);
  return kExitOk;
}

int Save(const std::vector<std::string>& words) {
  Args args(words, {"--game", "--archive"});
  if (args.help()) return Help(kSaveUsage);
  if (!args.error().empty()) return Usage(args.error(), kSaveUsage.c_str());
  if (!args.positional().empty()) return Usage("save takes no arguments", kSaveUsage.c_str());
  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  return SaveGame(game);
}

int Wipe(const std::vector<std::string>& words) {
  Args args(words, {"--game", "--archive"});
  if (args.help()) return Help(kWipeUsage);
  if (!args.error().empty()) return Usage(args.error(), kWipeUsage.c_str());
  if (!args.positional().empty()) return Usage("wipe takes no arguments", kWipeUsage.c_str());
  const qm::GamePaths paths = GamePathsFromArgs(args);
  if (paths.working_archive.empty()) {
    return Fail(paths.game_folder + ": " + EditorText(qm::kMsgWipeFailed) + " (no working archive in DATA)");
  }
  if (qm::Status s = qm::WipeArchive(paths.working_archive); !s) {
    return Fail(paths.working_archive + ": " + EditorText(qm::kMsgWipeFailed) + " (" + s.why() + ")");
  }
  std::printf("%s\n", EditorText(qm::kMsgWiped).c_str());
  return kExitOk;
}

QLMK_COMMAND("save", "save the catalogue into the working archive", Save);
QLMK_COMMAND("wipe", "compact the working archive", Wipe);

}  // namespace
}  // namespace qlmk
