// The user's language from the calling thread's locale, as Windows abbreviates it (ENU, KOR...).
#include <windows.h>

#include <cstring>

#include "shell/language.h"

namespace qm {

std::string LocaleLanguageCode() {
  char code[32] = {};
  if (GetLocaleInfoA(GetThreadLocale(), LOCALE_SABBREVLANGNAME, code, sizeof code) <= 0) return "";
  return std::string(code, strnlen(code, sizeof code));
}

}  // namespace qm
