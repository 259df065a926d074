// Owning holder for registry keys, and reading a value as text, so that every key opened by
// the three programs is closed on every path out of a function.
//
//   qm::RegistryKey key = qm::RegistryKey::Open(HKEY_LOCAL_MACHINE, path, KEY_READ);
//   if (!key) ...;                                      // RegOpenKeyExA failed
//   std::optional<std::string> v = key.ReadText("AppPath", 260);
//   qm::RegistryKey settings = qm::RegistryKey::Create(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS);
//   settings.WriteText("RESTORE", "1.300");             // REG_SZ
//
// Move-only; a null key is "empty" and is not closed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qm {

class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ~RegistryKey() { Close(); }

  // RegOpenKeyExA; an empty holder when the key cannot be opened (*error, when given, tells why).
  static RegistryKey Open(HKEY root, const char* path, REGSAM access, LONG* error = nullptr) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(root, path, 0, access, &key);
    if (error != nullptr) *error = result;
    if (result != ERROR_SUCCESS) key = nullptr;
    return RegistryKey(key);
  }
  // RegCreateKeyExA (empty class, non-volatile): opens the key, creating it when missing.
  static RegistryKey Create(HKEY root, const char* path, REGSAM access) {
    HKEY key = nullptr;
    char no_class[] = "";
    if (RegCreateKeyExA(root, path, 0, no_class, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      key = nullptr;
    }
    return RegistryKey(key);
  }

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

  // A value of any type read as bytes (at most `capacity`) and taken up to its first zero, so
  // a value stored without its terminator cannot run past the buffer. nullopt when it cannot
  // be read (missing, or larger than `capacity`).
  std::optional<std::string> ReadText(const char* value, DWORD capacity) const {
    if (key_ == nullptr || capacity == 0) return std::nullopt;
    std::vector<char> buffer(capacity, '\0');
    DWORD size = capacity;
    if (RegQueryValueExA(key_, value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::string text(buffer.data(), size < capacity ? size : capacity);
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
  }

  // Writes a REG_SZ value, terminator included.
  bool WriteText(const char* value, const std::string& text) const {
    return key_ != nullptr &&
           RegSetValueExA(key_, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

 private:
  void Close() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

  HKEY key_ = nullptr;
};

}  // namespace qm
