// qm_language_fit.exe: the fit check of language files (language_fit_win32.h), for translators
// and for the build's test of the shipped files.
//
//   qm_language_fit [--codepage N] FILE... [--codepage N FILE...]
//
// FILE is an editor (QLMK*.INI) or patcher (QLSX*.INI) language file. --codepage names the
// Windows code page of the files after it (default: the system's). Prints each text that does
// not fit, then one line per file. Exit status 0 when every text of every file fits, 1 when one
// does not or a file cannot be read, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file.h"
#include "tools/language_fit/language_fit_win32.h"

namespace {

constexpr uint64_t kMaxFileBytes = 4u << 20;

int Usage() {
  std::fprintf(stderr, "usage: qm_language_fit [--codepage N] FILE... [--codepage N FILE...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  UINT code_page = GetACP();
  bool all_fit = true;
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--codepage") {
      if (i + 1 >= argc) return Usage();
      char* end = nullptr;
      const unsigned long number = std::strtoul(argv[++i], &end, 10);
      if (end == argv[i] || *end != '\0' || !IsValidCodePage(static_cast<UINT>(number))) return Usage();
      code_page = static_cast<UINT>(number);
      continue;
    }
    ++files;
    const std::optional<qm::fit::Program> program = qm::fit::ProgramOfFile(arg);
    if (!program) {
      std::fprintf(stderr, "%s: not a language file of the editor (QLMK...) or the patcher (QLSX...)\n", arg.c_str());
      all_fit = false;
      continue;
    }
    std::vector<uint8_t> bytes;
    if (qm::ReadWholeFile(arg, kMaxFileBytes, &bytes) != qm::ReadWholeResult::kOk) {
      std::fprintf(stderr, "%s: cannot read it\n", arg.c_str());
      all_fit = false;
      continue;
    }
    const qm::fit::FitReport report =
        qm::fit::CheckLanguageFit(*program, std::string(bytes.begin(), bytes.end()), code_page);
    for (const qm::fit::FitProblem& p : report.problems) {
      std::printf("%s: %u \"%s\": %s\n", arg.c_str(), static_cast<unsigned>(p.id), p.text.c_str(), p.why.c_str());
    }
    std::printf("%s: %zu texts, %s (code page %u, font %s, drawn with %s)\n", arg.c_str(), report.texts,
                report.ok() ? "all fit" : "NOT ALL FIT", code_page, report.requested_font.c_str(), report.font.c_str());
    all_fit = all_fit && report.ok();
  }
  if (files == 0) return Usage();
  std::fflush(stdout);
  return all_fit ? 0 : 1;
}
