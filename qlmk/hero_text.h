// Hero texts between the game's code page and qlmk's UTF-8: one rule for every command that
// reads or writes them.
//
//   HeroText text;
//   if (int rc = HeroText::FromArgs(args, &text); rc != kExitOk) return rc;   // --codepage
//   std::printf("%s\n", text.Line(record.name).c_str());                       // stored -> UTF-8
//   std::string bytes;
//   if (int rc = text.Store(args, "--name", "name", kNameMaxChars, &bytes); rc != kExitOk) ...
//
// The code page is --codepage's, else the QLMK_CODEPAGE environment variable's, else 1252;
// any other value is a usage error. Texts go out exactly as export's heroes.csv and
// heroes.json hold them. A text from the command line that the page cannot hold is refused,
// never stored with a '?' in its place.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "heroes/code_page.h"
#include "heroes/hero_record.h"
#include "qlmk/command.h"

namespace qlmk {

inline constexpr Option kCodePageOption[] = {
    {"--codepage", "1252|1251|1250",
     "the code page of the game's hero texts: 1252 Western (the default), 1251 Cyrillic, 1250 Central European; "
     "QLMK_CODEPAGE in the environment sets it too. Texts on the command line and in the output are UTF-8"},
};

inline constexpr const char* kCodePageVariable = "QLMK_CODEPAGE";

class HeroText {
 public:
  // The code page from --codepage, QLMK_CODEPAGE or the default. Returns kExitOk, or kExitUsage
  // after the message for another value.
  static int FromArgs(const Args& args, HeroText* out);

  qm::CodePage page() const { return page_; }

  // A stored text as UTF-8.
  std::string Utf8(std::string_view stored) const;
  // The same on one line: line breaks, tabs, backslashes and every other control character as
  // C escapes, so a name can neither break a column nor send commands to the terminal.
  std::string Line(std::string_view stored) const;
  // The same as a JSON string literal.
  std::string Json(std::string_view stored) const;

  // The UTF-8 text of `option` as the field `field` stores it, at most `max_bytes` bytes. A
  // letter the page cannot hold fails naming the letter, its position and the field (kExitFailed),
  // a text over the limit is a usage error (kExitUsage); *out is set only on success.
  int Store(const Args& args, const char* option, const char* field, size_t max_bytes, std::string* out) const;
  // A keyword given on the command line as the catalogue stores keywords; false when the page
  // cannot hold it (then no record has it).
  bool StoredKeyword(std::string_view utf8, std::string* out) const;

  // When the page came by default and the records' texts look like another page, prints a
  // one-line hint on stderr that suggests it.
  void HintIfOtherPage(std::span<const qm::HeroRecord> records) const;

 private:
  qm::CodePage page_ = qm::kDefaultCodePage;
  bool chosen_ = false;  // by --codepage or QLMK_CODEPAGE
};

}  // namespace qlmk
