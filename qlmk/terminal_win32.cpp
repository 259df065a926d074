#include <windows.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "qlmk/terminal.h"

namespace qlmk {
namespace {

std::string Utf8OfWide(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

bool IsConsole(FILE* stream) { return _isatty(_fileno(stream)) != 0; }

}  // namespace

CommandWords ReadCommandWords(int argc, char** argv) {
  CommandWords out;
  for (int i = 1; i < argc; ++i) out.words.emplace_back(argv[i]);
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  // The C runtime and the shell split a command line alike; should they ever disagree, the
  // words' own bytes read in the system's code page are the texts.
  if (wide && count == argc) {
    for (int i = 1; i < count; ++i) out.texts.push_back(Utf8OfWide(wide[i]));
  } else {
    for (const std::string& word : out.words) {
      const int n = MultiByteToWideChar(CP_ACP, 0, word.c_str(), -1, nullptr, 0);
      std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
      if (n > 0) MultiByteToWideChar(CP_ACP, 0, word.c_str(), -1, w.data(), n);
      out.texts.push_back(Utf8OfWide(w.c_str()));
    }
  }
  if (wide) LocalFree(wide);
  return out;
}

Utf8Console::Utf8Console() {
  if (IsConsole(stdout) || IsConsole(stderr)) {
    previous_ = GetConsoleOutputCP();
    if (previous_ != 0 && !SetConsoleOutputCP(CP_UTF8)) previous_ = 0;
  }
}

Utf8Console::~Utf8Console() {
  if (previous_ != 0) {
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(previous_);
  }
}

bool StderrIsTerminal() { return IsConsole(stderr); }

}  // namespace qlmk
