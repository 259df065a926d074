// The user's language from the POSIX locale variables, turned into the three-letter
// abbreviation Windows gives the same language (so that language/QLMKDEU.INI is found for
// de_DE on both systems). Unknown or unset locales read as US English. Language files keep
// their bytes (a UTF-8 file's texts stay UTF-8, as the terminal shows them).
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/language.h"

namespace qm {
namespace {

struct LocaleCode {
  std::string_view posix;  // "ll" or "ll_CC"
  const char* windows;
};

// Territory-specific entries come before the bare language they refine.
constexpr LocaleCode kLocaleCodes[] = {
    {"en_GB", "ENG"}, {"en_AU", "ENA"}, {"en_CA", "ENC"}, {"en_NZ", "ENZ"}, {"en_IE", "ENI"},
    {"en", "ENU"},    {"de_AT", "DEA"}, {"de_CH", "DES"}, {"de", "DEU"},    {"fr_CA", "FRC"},
    {"fr_BE", "FRB"}, {"fr_CH", "FRS"}, {"fr", "FRA"},    {"es_MX", "ESM"}, {"es", "ESP"},
    {"it", "ITA"},    {"pt_BR", "PTB"}, {"pt", "PTG"},    {"nl_BE", "NLB"}, {"nl", "NLD"},
    {"ko", "KOR"},    {"ja", "JPN"},    {"zh_TW", "CHT"}, {"zh_HK", "ZHH"}, {"zh", "CHS"},
    {"ru", "RUS"},    {"pl", "PLK"},    {"cs", "CSY"},    {"hu", "HUN"},    {"sv", "SVE"},
    {"da", "DAN"},    {"fi", "FIN"},    {"nb", "NOR"},    {"no", "NOR"},    {"tr", "TRK"},
    {"el", "ELL"},    {"uk", "UKR"},    {"he", "HEB"},    {"ar", "ARA"},    {"th", "THA"},
};

}  // namespace

std::string LocaleLanguageCode() {
  const char* value = nullptr;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = std::getenv(name);
    if (value && *value) break;
  }
  if (!value || !*value) return "ENU";
  std::string_view locale(value);
  locale = locale.substr(0, locale.find_first_of(".@"));  // drop the code set and modifier
  for (const LocaleCode& c : kLocaleCodes) {
    if (locale == c.posix || (locale.size() > c.posix.size() && locale.substr(0, c.posix.size()) == c.posix &&
                              locale[c.posix.size()] == '_' && c.posix.size() == 2)) {
      return c.windows;
    }
  }
  return "ENU";
}

bool LanguageFileInSystemCodePage(std::string* content) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (std::string_view(*content).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    content->erase(0, kByteOrderMark.size());
  }
  return true;
}

}  // namespace qm
