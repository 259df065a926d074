#include "web/browser_command.h"

namespace qm {

std::optional<std::string> BrowserCommandLine(std::string_view registered_command,
                                              std::string_view address) {
  std::string_view command = registered_command;
  size_t cut = command.find("\"%1\"");
  if (cut == std::string_view::npos) cut = command.find("%1");
  if (cut != std::string_view::npos) command = command.substr(0, cut);

  std::string line;
  line.reserve(command.size() + 1 + address.size());
  line.append(command).append(1, ' ').append(address);
  if (line.size() + 1 > kBrowserCommandBytes) return std::nullopt;
  return line;
}

}  // namespace qm
