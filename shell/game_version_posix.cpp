// Without the Windows version API the portable PE reader answers.
#include "shell/game_version.h"

namespace qm {

float ReadGameVersion(const std::string& path) { return ReadGameVersionPortable(path); }

}  // namespace qm
