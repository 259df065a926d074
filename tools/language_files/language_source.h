// Language files from their sources: the translations are kept as UTF-8 text (resources/
// language/<code>/QLMK.ini and QLSX.ini), and shipped in the Windows code page of their
// language, which the programs read byte for byte.
//
//   std::string ini;
//   qm::Status s = qm::LanguageFileFromSource(utf8_source, qm::CodePage::k1251, &ini);
//   if (!s) ... s.why() names the line and the letter or the mistake
//
// The conversion drops a UTF-8 byte order mark at the start, ends every line (the last one
// too) in CR LF and converts each line to the code page. It refuses, naming the line:
//   - a letter the code page cannot hold (nothing is ever replaced by '?');
//   - malformed UTF-8;
//   - inside the [STRING] section, a line the programs would skip without a word: no '=', or a
//     key that is not a plain string number from 1 to 66,559 ("304 =Text" included);
//   - a line longer than the programs read (2,047 bytes) or a text longer than a lookup
//     returns (511 bytes).
// Such mistakes would otherwise only show as an English text in the translated program.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "heroes/code_page.h"
#include "shell/language.h"

namespace qm {

Status LanguageFileFromSource(std::string_view utf8, CodePage page, std::string* out);

}  // namespace qm
