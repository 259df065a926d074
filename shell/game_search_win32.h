// The operating system behind the game search and the greeting.
//
//   qm::GameSearchHost host = qm::PlatformGameSearchHost();
//   std::optional<std::string> login = qm::LoginName();    // GetUserNameA; nullopt on failure
//   bool nt = qm::IsNtPlatform();                          // GetVersionExA: platform id 2
#pragma once

#include <optional>
#include <string>

#include "shell/game_search.h"

namespace qm {

GameSearchHost PlatformGameSearchHost();
std::optional<std::string> LoginName();
bool IsNtPlatform();

}  // namespace qm
