// qm_language_file: writes a language file from its UTF-8 source in a Windows code page, for
// the build (resources/language/CMakeLists.txt).
//
//   qm_language_file --codepage 1251 resources/language/RUS/QLMK.ini language/QLMKRUS.INI [MORE...]
//
// Every OUTPUT gets the same bytes (a language's other regions share its files) and is
// replaced in one step, so each is either its old or its new version. Exit status 0 when all
// were written; 1 when the source cannot be converted (one line on stderr names the file, the
// line and why; no OUTPUT is touched) or a file cannot be written; 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/replacement_file.h"
#include "tools/language_files/language_source.h"

namespace {

constexpr uint64_t kMaxSourceBytes = 4u << 20;

int Usage() {
  std::fprintf(stderr, "usage: qm_language_file --codepage 1250|1251|1252 SOURCE OUTPUT...\n");
  return 2;
}

int Fail(const std::string& what) {
  std::fprintf(stderr, "qm_language_file: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || std::string(argv[1]) != "--codepage") return Usage();
  char* end = nullptr;
  const long number = std::strtol(argv[2], &end, 10);
  qm::CodePage page;
  if (end == argv[2] || *end != '\0' || !qm::CodePageOfNumber(number, &page)) return Usage();
  const std::string source = argv[3];

  std::vector<uint8_t> bytes;
  if (qm::ReadWholeFile(source, kMaxSourceBytes, &bytes) != qm::ReadWholeResult::kOk) {
    return Fail(source + ": cannot read it");
  }
  std::string converted;
  const qm::Status status = qm::LanguageFileFromSource(std::string(bytes.begin(), bytes.end()), page, &converted);
  if (!status) return Fail(source + ": " + status.why());

  // Every output is written beside its target first and put in place only when all are
  // complete, so that a failure leaves each file as it was.
  std::vector<qm::ReplacementFile> outputs(static_cast<size_t>(argc - 4));
  for (int i = 4; i < argc; ++i) {
    qm::ReplacementFile& out = outputs[static_cast<size_t>(i - 4)];
    if (qm::Status s = qm::ReplacementFile::Create(argv[i], &out); !s)
      return Fail(std::string(argv[i]) + ": " + s.why());
    if (!out.file().Write(converted.data(), converted.size())) return Fail(std::string(argv[i]) + ": cannot write it");
  }
  for (qm::ReplacementFile& out : outputs) {
    if (qm::Status s = out.Commit(); !s) return Fail(out.target() + ": " + s.why());
  }
  return 0;
}
