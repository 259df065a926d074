// Language file templates for translators: every string of a program's table with its English
// text, in the language file format, ready to be copied to language/<prefix><code>.INI and
// translated. resources/language-template/ holds the generated files (`qlmk strings
// --template editor|patcher` writes them); a test keeps them in step with the string lists.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "shell/language.h"

namespace qm {

// `program` names the program in the heading ("Quillmark"), `prefix` is its language prefix.
// Lines end in CR LF. Texts a language file cannot hold (line breaks, trailing blanks or tabs)
// are listed as comments, so that using the template unchanged keeps the program's own texts.
std::string LanguageTemplate(std::string_view program, std::string_view prefix,
                             std::span<const StringEntry> strings);

std::string EditorLanguageTemplate();
std::string PatcherLanguageTemplate();

}  // namespace qm
