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

int Save(const Args& args) {
  Game game;
  if (int rc = LoadGame(args, &game); rc != kExitOk) return rc;
  return SaveGame(game);
}

int Wipe(const Args& args) {
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

const Command kSave = {
    .name = "save",
    .summary = "save the catalogue into the working archive",
    .groups = {kGameOptions},
    .details =
        "Loads the catalogue and saves it again into the working archive: the hero table and all\n"
        "twelve portrait bundles, as the editor's Save does.\n",
    .run = Save,
};
QLMK_COMMAND(kSave);

const Command kWipe = {
    .name = "wipe",
    .summary = "compact the working archive",
    .groups = {kGameOptions},
    .details =
        "Compacts the working archive: drops the dead space that replaced entries leave behind.\n"
        "The archive is rebuilt beside itself and put in place only when complete.\n",
    .run = Wipe,
};
QLMK_COMMAND(kWipe);

}  // namespace
}  // namespace qlmk
