#include "shell/display_name.h"

#include "base/ascii.h"
#include "shell/status_text.h"

namespace qm {

std::string ChooseDisplayName(const std::vector<std::string>& network_names,
                              const std::optional<std::string>& login_name) {
  for (const std::string& name : network_names) {
    if (!AsciiEqualNoCase(name, "PLAYER")) return name;
  }
  if (!login_name) return std::string();  // the login name could not be read
  std::string name = login_name->substr(0, kLoginNameMax);
  if (AsciiEqualNoCase(name, "PLAYER") || AsciiEqualNoCase(name, "Administrator")) {
    name = kDefaultDisplayName;
  }
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
  return name;
}

std::string FormatGreeting(std::string_view greeting_template, std::string_view name) {
  std::string text;
  const size_t at = greeting_template.find("%s");
  if (at == std::string_view::npos) {
    text = greeting_template;
  } else {
    text.append(greeting_template.substr(0, at));
    text.append(name);
    text.append(greeting_template.substr(at + 2));
  }
  return CutToBytes(text, kStatusLineBytes);
}

}  // namespace qm
