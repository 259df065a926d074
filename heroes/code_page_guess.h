// A guess at the code page hero texts were written in, for a hint when they are read in
// another one.
//
//   std::vector<std::string_view> texts = {record.name, record.biography, ...};
//   if (std::optional<qm::CodePage> p = qm::GuessOtherCodePage(texts, qm::CodePage::k1252)) ...
//
// Texts are split into words at ASCII non-letters and at punctuation (quotes, dashes, « »,
// ¿ ¡ ...); only words with a byte from 0x80 count. Read in a page, such a word looks wrong
// when it holds a character that is neither letter nor punctuation (a superscript, £, ×, an
// undefined byte), mixes Latin and Cyrillic letters, has ì or ù before its last letter (Czech
// ě and ů read as Western; Italian and French put them last), or, in a Latin page, is three or
// more accented letters without a plain one (Cyrillic read as Latin). The guess names the page
// in which far fewer words look wrong than in `read_as`, when enough words look wrong there.
//
// Russian text is told apart reliably, and so are Polish, Czech and Slovak texts of some
// length; Hungarian text, whose letters all have a Western look-alike (ő as õ), and a few
// short Central European names are not. Western texts with accents give no guess; Scottish
// Gaelic, which writes ì and ù inside words, could.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "heroes/code_page.h"

namespace qm {

// The supported page, other than `read_as`, that the texts fit far better; nullopt when none
// does or the texts give too little to go on.
std::optional<CodePage> GuessOtherCodePage(std::span<const std::string_view> texts, CodePage read_as);

}  // namespace qm
