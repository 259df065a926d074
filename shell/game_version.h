// The game version: one single-precision number made from the product version of the game's
// executable, as the editor, the patcher and the restore tool all compute it.
//
//   float v = qm::GameVersionFromProductVersion(0x00010003, 0);  // 1.3.0.0 -> 1.3f
//   float v = qm::ReadGameVersion("HEROES4.EXE");                // 0 when unreadable
//   float v = qm::GameVersionOfFolder(game_folder);              // its HEROES4.EXE's version
//
// version = minor x 0.1 + major + build x 0.01 + revision x 0.001, added in that order, the
// factors being single-precision constants and the result stored as a float.
//
// ReadGameVersion asks the platform: GetFileVersionInfoA / VerQueryValueA on Windows, the
// portable PE reader (shell/pe_version.h) elsewhere. ReadGameVersionPortable always uses the
// portable reader, so tests can check that both agree.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qm {

float GameVersionFromProductVersion(uint32_t ms, uint32_t ls);
// Version of an executable image held in memory; 0 when it has no readable version block.
float GameVersionOfImage(std::span<const uint8_t> image);
float ReadGameVersionPortable(const std::string& path);
float ReadGameVersion(const std::string& path);

// The version of the folder's HEROES4.EXE, found as the game's other files are found (without
// regard to case on hosts whose file systems keep it); 0 when it is missing or unreadable. The
// folder may end in a separator or not.
float GameVersionOfFolder(const std::string& game_folder);

}  // namespace qm
