// Texts as messages and diffs show them: on one line and harmless, whatever they hold. Every
// message that quotes a hero's text, a keyword or a name read from a file goes through here.
//
//   qm::QuotedText("Sir \"Al\"\n")  prints as  "Sir \"Al\"\n"
//   qm::EscapedText("Al\tdric")     prints as  Al\tdric
//
// UTF-8 in, UTF-8 out. Backslashes and control characters become C escapes (\n, \r, \t, else
// \xNN for the C0 controls and DEL, \u00NN for the C1 controls U+0080..U+009F), and so does
// every byte that is not part of well-formed UTF-8: a hostile text can neither break the line,
// send commands to the terminal nor garble the message's encoding. QuotedText puts the text
// between double quotes and escapes the double quotes in it as well.
#pragma once

#include <string>
#include <string_view>

namespace qm {

std::string QuotedText(std::string_view utf8);
std::string EscapedText(std::string_view utf8);

}  // namespace qm
