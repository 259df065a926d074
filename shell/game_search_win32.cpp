#include "shell/game_search_win32.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "shell/game_version.h"

namespace qm {
namespace {

constexpr DWORD kPathBufferBytes = 260;
constexpr DWORD kNameBufferBytes = 259;

// An open registry key, closed at scope end.
class RegistryKey {
 public:
  RegistryKey(HKEY root, const char* path) {
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Any value type is read as bytes and taken up to its first zero, so a value that lacks its
// terminator cannot run past the buffer.
std::optional<std::string> ReadMachineValue(const char* key_path, const char* value,
                                            DWORD capacity) {
  RegistryKey key(HKEY_LOCAL_MACHINE, key_path);
  if (key.get() == nullptr) return std::nullopt;
  std::array<char, kPathBufferBytes + 1> buffer{};
  DWORD size = capacity;
  if (RegQueryValueExA(key.get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  size = size < capacity ? size : capacity;
  std::string text(buffer.data(), size);
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text;
}

std::string CurrentDirectory() {
  std::array<char, kPathBufferBytes> buffer{};
  const DWORD n = GetCurrentDirectoryA(kPathBufferBytes, buffer.data());
  return n > 0 && n < kPathBufferBytes ? std::string(buffer.data(), n) : std::string();
}

std::string ProgramPath() {
  std::array<char, kPathBufferBytes> buffer{};
  const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), kPathBufferBytes);
  return n > 0 && n < kPathBufferBytes ? std::string(buffer.data(), n) : std::string();
}

}  // namespace

GameSearchHost PlatformGameSearchHost() {
  GameSearchHost host;
  host.current_directory = CurrentDirectory;
  host.program_path = ProgramPath;
  host.set_current_directory = [](const std::string& folder) {
    return !folder.empty() && SetCurrentDirectoryA(folder.c_str()) != 0;
  };
  host.exists = [](const std::string& name) {
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
  };
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
