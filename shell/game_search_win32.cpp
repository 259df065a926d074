#include "shell/game_search_win32.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "base/os.h"
#include "base/registry_win32.h"
#include "shell/game_version.h"

namespace qm {
namespace {

constexpr DWORD kPathBufferBytes = 260;
constexpr DWORD kNameBufferBytes = 259;

std::optional<std::string> ReadMachineValue(const char* key_path, const char* value,
                                            DWORD capacity) {
  return ReadRegistryText(OpenRegistryKey(HKEY_LOCAL_MACHINE, key_path, KEY_READ), value, capacity);
}

std::string CurrentDirectory() {
  std::array<char, kPathBufferBytes> buffer{};
  const DWORD n = GetCurrentDirectoryA(kPathBufferBytes, buffer.data());
  return n > 0 && n < kPathBufferBytes ? std::string(buffer.data(), n) : std::string();
}

}  // namespace

GameSearchHost PlatformGameSearchHost() {
  GameSearchHost host;
  host.current_directory = CurrentDirectory;
  host.program_path = [] { return os::OwnExecutablePath().value_or(std::string()); };
  host.set_current_directory = [](const std::string& folder) {
    return !folder.empty() && SetCurrentDirectoryA(folder.c_str()) != 0;
  };
  host.exists = [](const std::string& name) { return os::FileExists(name); };
  host.read_version = [](const std::string& path) { return ReadGameVersion(path); };
  host.read_machine_value = [](const char* key, const char* value) {
    const DWORD capacity = std::string_view(value) == kAppPathValue ? kPathBufferBytes
                                                                     : kNameBufferBytes;
    return ReadMachineValue(key, value, capacity);
  };
  return host;
}

std::optional<std::string> LoginName() {
  std::array<char, kNameBufferBytes + 1> buffer{};
  DWORD size = kNameBufferBytes;
  if (!GetUserNameA(buffer.data(), &size)) return std::nullopt;
  return std::string(buffer.data());
}

bool IsNtPlatform() {
  // GetVersionExA is deprecated but still answers the one question asked here.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  const BOOL ok = GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return ok && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace qm
