// --codepage N: the code page of the game's texts, for every command that reads or writes them
// as UTF-8.
#pragma once

#include "heroes/code_page.h"
#include "qlmk/command.h"

namespace qlmk {

inline constexpr Option kCodePageOption[] = {
    {"--codepage", "N",
     "the code page of the game's texts: 1252 (default, Western), 1251 (Cyrillic) or 1250 (Central European)"},
};

// The code page --codepage names, else the default. Any other number is a usage error: returns
// kExitUsage after the message, else kExitOk.
int CodePageFromArgs(const Args& args, qm::CodePage* page);

}  // namespace qlmk
