// Localized strings: every text a program shows is a numbered string that a language file may
// replace.
//
//   qm::Language& lang = qm::ProgramLanguage();
//   lang.SetPrefix("QLMK");
//   lang.Load();                     // language/QLMK<code>.INI, else language/QLMKENG.INI
//   MessageBox(..., qm::Text(kMsgSaved));  // language file, else the program's string table
//   lang.Release();
//
// Text lookup never returns null: an id no source knows gives an empty text. A returned text
// lives in one of 20 rotating 512-byte buffers and stays valid for the next 19 lookups; copy it
// to keep it longer. Lookups are made from one thread only.
//
// Language file: lines of at most 2,047 characters (the rest of a longer line is dropped);
// trailing CR, LF, tabs and blanks are trimmed; empty lines and ';' lines are comments; a
// line starting with '[' opens a section, the string section exactly when it reads "[STRING]"
// (ASCII case folded). Other lines are key=text (text taken byte for byte after the first '=').
// In the string section the key must be a positive key number; elsewhere a positive key number
// is the id and any other key takes the next automatic id from 65,536. Later lines win. Ids
// without a slot in the table (66,560 and up, more than 1,024 automatic ids) are ignored.
//
// Key numbers: decimal digits, optionally a scale letter K/M/G (any case) followed by
// fractional digits of that scale: "1K" = 1000, "1K5" = 1500, "2M25" = 2,250,000, "1K2345" =
// 1234. Anything else makes the key not a number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

constexpr size_t kLanguagePrefixMaxChars = 31;
constexpr size_t kLanguageCodeMaxChars = 31;
constexpr uint32_t kLanguageTableSlots = 66560;
constexpr uint32_t kFirstAutomaticStringId = 65536;
constexpr size_t kTextRingBuffers = 20;
constexpr size_t kTextBufferSize = 512;         // a looked-up text keeps at most 511 bytes
constexpr size_t kLanguageLineMaxChars = 2047;
constexpr size_t kProgramStringMaxChars = 510;  // LoadStringA with a 511-byte buffer

constexpr const char* kEditorLanguagePrefix = "QLMK";
constexpr const char* kPatcherLanguagePrefix = "QLSX";
constexpr const char* kLanguageFolder = "language/";
constexpr const char* kFallbackLanguageCode = "ENG";

// One numbered string: an entry of a program's string table or of a fallback table.
struct StringEntry {
  uint32_t id;
  const char* text;
};

// The program's own string table, the way LoadStringA reads it: copies at most capacity - 1
// characters of string `id` into `buffer`, zero-terminated, and returns how many; 0 when the
// table has no (or an empty) string of that id. string_resource_win32.cpp reads the module's
// STRINGTABLE; string_resource_host.cpp a built-in copy of the editor's strings.
size_t LoadProgramString(uint32_t id, char* buffer, size_t capacity);
using ProgramStringSource = size_t (*)(uint32_t id, char* buffer, size_t capacity);

// The three-letter language abbreviation of the user's locale, for example "ENU" or "KOR"
// (locale_win32.cpp / locale_posix.cpp).
std::string LocaleLanguageCode();

// A language file's bytes in the system's code page, which the programs show texts in. A file
// saved as UTF-8 (as today's text editors save by default, with or without a byte order mark)
// is converted to it; a file in a code page, which is almost never valid UTF-8 beyond ASCII,
// is left as it is. False when a UTF-8 file is broken or holds a letter the code page cannot
// show: the file is then not used. Off Windows texts stay UTF-8, the terminal's code; only a
// byte order mark is dropped (locale_win32.cpp / locale_posix.cpp).
bool LanguageFileInSystemCodePage(std::string* content);

// Reads a key number; returns the signed 32-bit result (positive means a valid id).
int32_t ParseKeyNumber(std::string_view key);

class Language {
 public:
  // `program_strings` is the program's string table; `fallback` is consulted after it (the
  // editor has none).
  explicit Language(ProgramStringSource program_strings = LoadProgramString,
                    std::span<const StringEntry> fallback = {});
  Language(const Language&) = delete;
  Language& operator=(const Language&) = delete;

  void SetPrefix(std::string_view prefix);  // keeps at most 31 characters
  void SetCode(std::string_view code);      // empty: Load takes the locale's code
  const std::string& prefix() const { return prefix_; }
  const std::string& code() const { return code_; }

  // Clears the table and the result ring, then parses folder + prefix + code + ".INI", or
  // when that fails folder + prefix + "ENG.INI". With neither file the table stays empty.
  void Load(std::string_view folder = kLanguageFolder);
  void Release();

  // Replaces the table with the strings of one language file (a UTF-8 file converted to the
  // system's code page). False (table unchanged) when the file cannot be read or converted.
  bool ParseFile(const std::string& path);
  // The same over a file's content already in memory.
  void ParseText(std::string_view content);

  // The text of `id`: language table, program string table, fallback table; else "".
  const char* Text(uint32_t id);

  // Ids the language table holds, ascending.
  std::vector<uint32_t> DefinedIds() const;
  bool Defines(uint32_t id) const { return id < kLanguageTableSlots && slots_[id] != nullptr; }

 private:
  char* NextBuffer();

  ProgramStringSource program_strings_;
  std::span<const StringEntry> fallback_;
  std::string prefix_;
  std::string code_;
  std::vector<const char*> slots_;  // kLanguageTableSlots entries; null = not defined
  std::vector<char> pool_;          // every text of the file, zero-terminated, in file order
  std::array<std::array<char, kTextBufferSize>, kTextRingBuffers> ring_{};
  int ring_index_ = -1;
};

// The process-wide instance the program's windows use.
Language& ProgramLanguage();
inline const char* Text(uint32_t id) { return ProgramLanguage().Text(id); }
// The same as a view: the label lookup the value tables take from their callers.
inline std::string_view ProgramText(uint32_t id) { return Text(id); }

}  // namespace qm
