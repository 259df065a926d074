// Whole-file input and output for qlmk commands: entry contents, sheets and pages.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/os.h"
#include "base/status.h"
#include "qlmk/command.h"

namespace qlmk {

// Reads a whole file; entry contents are limited to 32-bit sizes.
inline qm::Status ReadInputFile(const std::string& path, std::vector<uint8_t>* bytes) {
  qm::File file = qm::File::Open(path, qm::File::Mode::kRead);
  if (!file.is_open()) return qm::Status::Fail(std::strerror(errno));
  const std::optional<uint64_t> size = file.Size();
  if (!size) return qm::Status::Fail("cannot tell the file's size");
  if (*size > UINT32_MAX) return qm::Status::Fail("file larger than 4 GiB");
  bytes->resize(static_cast<size_t>(*size));
  if (!file.Read(bytes->data(), bytes->size())) return qm::Status::Fail("read failed");
  return qm::Status::Ok();
}

// Writes the bytes to `path`, or to standard output when `path` is empty.
inline qm::Status WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) {
    qm::os::SetStdoutBinary();
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    if (!written || std::fflush(stdout) != 0) return qm::Status::Fail("cannot write to standard output");
    return qm::Status::Ok();
  }
  qm::File file = qm::File::Open(path, qm::File::Mode::kCreate);
  if (!file.is_open()) return qm::Status::Fail(std::strerror(errno));
  if (!file.Write(bytes.data(), bytes.size()) || !file.Close()) return qm::Status::Fail("write failed");
  return qm::Status::Ok();
}

// ReadInputFile as a command's step: its exit code, a failure naming the file.
inline int ReadInput(const std::string& path, std::vector<uint8_t>* bytes) {
  if (qm::Status s = ReadInputFile(path, bytes); !s) return Fail(path, s);
  return kExitOk;
}

// WriteOutput as a command's step: its exit code, a failure naming the file or "stdout".
inline int WriteCommandOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (qm::Status s = WriteOutput(path, bytes); !s) return Fail(path.empty() ? "stdout" : path, s);
  return kExitOk;
}

}  // namespace qlmk
