// Whom the editor greets: the game's network player name when the player set one, otherwise the
// login name, tidied up.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Replaces the game's placeholder names and the administrator account in the greeting.
constexpr std::string_view kDefaultDisplayName = "Wanderer";
// Login names are cut to this many characters.
constexpr size_t kLoginNameMax = 20;

// `network_names`: the "Network Default Name" values of the game's registry keys, newest game
// version first (missing values left out). The first that is not "PLAYER" (any case) is used
// unchanged. Otherwise the login name is cut to 20 characters, "PLAYER" and "Administrator"
// (any case) become the default name, and the first letter is made upper case.
std::string ChooseDisplayName(const std::vector<std::string>& network_names,
                              const std::optional<std::string>& login_name);

// Formats the greeting template (a "%s" in it takes the name) and cuts it to one panel line.
std::string FormatGreeting(std::string_view greeting_template, std::string_view name);

}  // namespace qm
