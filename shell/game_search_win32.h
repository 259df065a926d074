// The operating system behind the game search and the greeting.
//
//   qm::GameSearchHost host = qm::PlatformGameSearchHost();
//   std::optional<std::string> login = qm::LoginName();    // GetUserNameA; nullopt on failure
//   bool nt = qm::IsNtPlatform();                          // GetVersionExA: platform id 2
//   std::string self = qm::ProgramFilePath();              // GetModuleFileNameA; "" on failure
#pragma once

#include <optional>
#include <string>

#include "shell/game_search.h"

namespace qm {

GameSearchHost PlatformGameSearchHost();
std::optional<std::string> LoginName();
bool IsNtPlatform();
std::string ProgramFilePath();

}  // namespace qm
