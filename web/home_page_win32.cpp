#include "web/home_page_win32.h"

#include <shellapi.h>

#include <optional>
#include <utility>

#include "base/registry_win32.h"
#include "web/browser_command.h"

namespace qm {

LONG ReadRegistryDefault(HKEY root, const char* subkey, std::string* out) {
  LONG error = ERROR_SUCCESS;
  const RegistryKey key = OpenRegistryKey(root, subkey, KEY_QUERY_VALUE, &error);
  if (!key) return error;
  char value[kRegistryValueBytes] = {};
  LONG size = sizeof value;
  error = RegQueryValueA(key.get(), nullptr, value, &size);
  if (error != ERROR_SUCCESS) return error;
  value[sizeof value - 1] = '\0';  // a value stored without its zero stays inside the buffer
  *out = value;
  return ERROR_SUCCESS;
}

bool OpenHomePage(const char* address) {
  if (address == nullptr || *address == '\0') return false;
  const auto shell_result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, kShellVerb, address, nullptr, nullptr, SW_SHOWNORMAL));
  if (shell_result > 32) return true;

  std::string page_class;
  if (ReadRegistryDefault(HKEY_CLASSES_ROOT, kHtmlFileType, &page_class) != ERROR_SUCCESS) {
    return false;
  }
  std::string command;
  const std::string command_key = page_class + kOpenCommandSuffix;
  if (ReadRegistryDefault(HKEY_CLASSES_ROOT, command_key.c_str(), &command) != ERROR_SUCCESS) {
    return false;
  }
  const std::optional<std::string> line = BrowserCommandLine(command, address);
  if (!line) return false;
  return WinExec(line->c_str(), SW_SHOWNORMAL) >= 32;
}

}  // namespace qm
