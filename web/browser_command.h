// The browser command line of the home-page launcher's fallback: when the shell does not open
// an address itself, the launcher starts the browser that the registry names for ".htm" files.
//
//   std::optional<std::string> line =
//       BrowserCommandLine("\"C:\\Web\\browse.exe\" \"%1\" -new", "http://x.org/");
//   // "\"C:\\Web\\browse.exe\"  http://x.org/": cut at the placeholder, one space, the address
//
// The registered command is cut at its first quoted placeholder "%1" (quotes included) or,
// without one, at its first bare %1; switches behind the placeholder are dropped. Then one
// space and the address follow, unquoted. The line must fit the launcher's 520-byte buffer with
// its terminating zero: a longer one gives nullopt, and nothing is started.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

constexpr size_t kBrowserCommandBytes = 520;   // command line buffer, zero included
constexpr size_t kRegistryValueBytes = 260;    // registry value size limit, zero included
constexpr const char* kHtmlFileType = ".htm";
constexpr const char* kOpenCommandSuffix = "\\shell\\open\\command";
constexpr const char* kShellVerb = "explore";

std::optional<std::string> BrowserCommandLine(std::string_view registered_command,
                                              std::string_view address);

}  // namespace qm
