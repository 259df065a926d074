#include "skin/skin_text.h"

#include <algorithm>
#include <cstdio>

#include "shell/status_text.h"

namespace qm::skin {

std::string PathLabelOfUpper(std::string_view path, LeadByteTest is_lead) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::string label(path);
  std::replace(label.begin(), label.end(), '\\', '/');
  return CutToBytes(label, kPathLabelMaxChars, is_lead);
}

std::string VersionLine() {
  char line[64];
  std::snprintf(line, sizeof line, "%s v%1.2f", kProductName,
                static_cast<double>(kProgramVersion));
  return line;
}

std::string TranslationHeading(std::string_view language_name) {
  return "Translation into " + std::string(language_name) + " :";
}

}  // namespace qm::skin
