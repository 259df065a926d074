// Outcome of an operation: success, or failure with one line that says why.
//
// Core operations report success or failure; the command layer (the editor's message panel,
// qlmk's stderr line) decides what the user sees. The reason is for people and logs; no caller
// branches on its text.
#pragma once

#include <string>
#include <utility>

namespace qm {

class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(); }
  static Status Fail(std::string why) { return Status(std::move(why)); }

  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const std::string& why() const { return why_; }

 private:
  Status() = default;
  explicit Status(std::string why) : ok_(false), why_(std::move(why)) {
    if (why_.empty()) why_ = "failed";
  }

  bool ok_ = true;
  std::string why_;
};

}  // namespace qm
