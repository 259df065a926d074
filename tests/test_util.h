// Helpers shared by the tests: a private temporary folder and whole-file read/write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qm::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Path of a file inside the folder, as a narrow string.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Points the process's temporary folder (TMPDIR; TMP and TEMP on Windows) at `folder` for its
// lifetime, so that scratch files which an injected fault keeps from being deleted land in a
// test's own folder instead of the system's.
class ScopedTempFolder {
 public:
  explicit ScopedTempFolder(const std::string& folder);
  ~ScopedTempFolder();
  ScopedTempFolder(const ScopedTempFolder&) = delete;
  ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteFileText(const std::string& path, const std::string& text);
std::vector<uint8_t> Bytes(const std::string& text);

}  // namespace qm::test
