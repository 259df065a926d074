// What qlmk export and import share: the --codepage option and the names of the sheet files.
#pragma once

#include <string>
#include <vector>

#include "heroes/code_page.h"
#include "qlmk/command.h"

namespace qlmk {

constexpr const char* kSheetCsvName = "heroes.csv";
constexpr const char* kSheetJsonName = "heroes.json";
constexpr const char* kFacesFolderName = "faces";

// --codepage N: 1252 (default), 1251 or 1250. False for any other value.
bool CodePageFromArgs(const Args& args, qm::CodePage* page);

}  // namespace qlmk
