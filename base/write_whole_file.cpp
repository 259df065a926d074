// WriteWholeFile lives apart from the rest of ReplacementFile so that the stub programs, which
// stream their files through a ReplacementFile, do not carry it.
#include "base/replacement_file.h"

namespace qm {

Status WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  ReplacementFile out;
  if (Status s = ReplacementFile::Create(path, &out); !s) return Status::Fail(path + ": " + s.why());
  if (!out.file().Write(bytes.data(), bytes.size())) return Status::Fail(path + ": cannot write");
  if (Status s = out.Commit(); !s) return Status::Fail(path + ": " + s.why());
  return Status::Ok();
}

Status WriteWholeFile(const std::string& path, std::string_view text) {
  return WriteWholeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace qm
