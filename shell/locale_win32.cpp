// The user's language from the calling thread's locale, as Windows abbreviates it (ENU, KOR...),
// and language files in the system's code page.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "shell/language.h"

namespace qm {

std::string LocaleLanguageCode() {
  char code[32] = {};
  if (GetLocaleInfoA(GetThreadLocale(), LOCALE_SABBREVLANGNAME, code, sizeof code) <= 0) return "";
  return std::string(code, strnlen(code, sizeof code));
}

bool LanguageFileInSystemCodePage(std::string* content) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const bool marked = std::string_view(*content).substr(0, kByteOrderMark.size()) == kByteOrderMark;
  const std::string_view body = std::string_view(*content).substr(marked ? kByteOrderMark.size() : 0);
  if (!marked && std::all_of(body.begin(), body.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return true;  // ASCII reads the same in every code page
  }
  const int size = static_cast<int>(body.size());
  const int wide_size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), size, nullptr, 0);
  if (wide_size <= 0) return !marked;  // not UTF-8: a file in the code page
  std::wstring wide(static_cast<size_t>(wide_size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), size, wide.data(), wide_size);
  BOOL lost = FALSE;
  const int narrow_size =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wide_size, nullptr, 0, nullptr, &lost);
  if (narrow_size <= 0 || lost) return false;
  std::string narrow(static_cast<size_t>(narrow_size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wide_size, narrow.data(), narrow_size, nullptr,
                      nullptr);
  *content = std::move(narrow);
  return true;
}

}  // namespace qm
