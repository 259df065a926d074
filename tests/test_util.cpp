#include "tests/test_util.h"

#include <cstdlib>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace qm::test {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("qmtest-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

namespace {

#ifdef _WIN32
const char* const kTempVariables[] = {"TMP", "TEMP"};
void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  _putenv((name + "=" + value.value_or("")).c_str());  // an empty value removes it
}
#else
const char* const kTempVariables[] = {"TMPDIR"};
void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) setenv(name.c_str(), value->c_str(), 1); else unsetenv(name.c_str());
}
#endif

}  // namespace

ScopedTempFolder::ScopedTempFolder(const std::string& folder) {
  std::filesystem::create_directories(folder);
  for (const char* name : kTempVariables) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    SetVariable(name, folder);
  }
}

ScopedTempFolder::~ScopedTempFolder() {
  for (const auto& [name, value] : saved_) SetVariable(name, value);
}

std::string TempDir::File(const std::string& name) const { return (path_ / name).string(); }

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteFileText(const std::string& path, const std::string& text) { WriteFileBytes(path, Bytes(text)); }

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace qm::test
