// Texts the skin draws itself: the main window's path labels and the about panel's lines.
//
//   PathLabelOfUpper("C:\\GAMES\\HOMM4\\")  -> "C:/GAMES/HOMM4"
//   VersionLine()                           -> "Quillmark v0.95"
//   TranslationHeading("Deutsch")           -> "Translation into Deutsch :"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "shell/status_text.h"

namespace qm::skin {

constexpr size_t kPathLabelMaxChars = 47;

// The path label of a path already in upper case: one trailing backslash dropped, every
// backslash turned into "/", cut to 47 characters (a double-byte character is not split).
std::string PathLabelOfUpper(std::string_view upper_path, LeadByteTest is_lead = SystemLeadByte);

constexpr const char* kProductName = "Quillmark";
constexpr float kProgramVersion = 0.95f;

std::string VersionLine();
constexpr const char* kProgrammingHeading = "Programming :";
constexpr const char* kProgrammerCredit = "Brevik (brevik@quillmark.example)";
constexpr const char* kDesignHeading = "Design :";
constexpr const char* kDesignerCredit = "Tamsel (tamsel@quillmark.example)";
// String ids a language file may define: the language's name and the translator's credit.
constexpr unsigned kLanguageNameString = 65536;
constexpr unsigned kTranslatorCreditString = 65537;
std::string TranslationHeading(std::string_view language_name);

}  // namespace qm::skin
