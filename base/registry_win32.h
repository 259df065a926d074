// Opening registry keys and reading and writing their text values. The key itself is held by
// qm::RegistryKey (base/handles_win32.h), closed on every path out of a function.
//
//   qm::RegistryKey key = qm::OpenRegistryKey(HKEY_LOCAL_MACHINE, path, KEY_READ);
//   if (!key) ...;                                           // RegOpenKeyExA failed
//   std::optional<std::string> v = qm::ReadRegistryText(key, "AppPath", 260);
//   qm::RegistryKey settings = qm::CreateRegistryKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS);
//   qm::WriteRegistryText(settings, "RESTORE", "1.300");    // REG_SZ
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/handles_win32.h"

namespace qm {

// RegOpenKeyExA; an empty holder when the key cannot be opened (*error, when given, tells why).
inline RegistryKey OpenRegistryKey(HKEY root, const char* path, REGSAM access, LONG* error = nullptr) {
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExA(root, path, 0, access, &key);
  if (error != nullptr) *error = result;
  if (result != ERROR_SUCCESS) key = nullptr;
  return RegistryKey(key);
}

// RegCreateKeyExA (empty class, non-volatile): opens the key, creating it when missing.
inline RegistryKey CreateRegistryKey(HKEY root, const char* path, REGSAM access) {
  HKEY key = nullptr;
  char no_class[] = "";
  if (RegCreateKeyExA(root, path, 0, no_class, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    key = nullptr;
  }
  return RegistryKey(key);
}

// A value of any type read as bytes (at most `capacity`) and taken up to its first zero, so a
// value stored without its terminator cannot run past the buffer. nullopt when it cannot be
// read (no key, missing, or larger than `capacity`).
inline std::optional<std::string> ReadRegistryText(const RegistryKey& key, const char* value, DWORD capacity) {
  if (!key || capacity == 0) return std::nullopt;
  std::vector<char> buffer(capacity, '\0');
  DWORD size = capacity;
  if (RegQueryValueExA(key.get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string text(buffer.data(), size < capacity ? size : capacity);
  const size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  return text;
}

// Writes a REG_SZ value, terminator included.
inline bool WriteRegistryText(const RegistryKey& key, const char* value, const std::string& text) {
  return key && RegSetValueExA(key.get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace qm
