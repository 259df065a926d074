// The single-byte code pages that hero texts are stored in, and their conversion to and from
// UTF-8.
//
//   qm::CodePage cp;
//   if (!qm::CodePageOfNumber(1251, &cp)) ... unsupported
//   std::string utf8 = qm::CodePageToUtf8(record.name, cp);          // never fails
//   std::string bytes;
//   qm::Status s = qm::Utf8ToCodePage(utf8, cp, &bytes);             // fails on a character
//                                                                    // the code page lacks
//
// Game texts are single-byte strings in the system code page of the machine that wrote them.
// Bytes 0x00..0x7F are ASCII in every supported page; 0x80..0xFF come from a 128-entry table
// per page. Positions a page leaves undefined map to the C1 control of the same value, as
// Windows maps them, so every byte converts to UTF-8 and back unchanged.
//
// Utf8ToCodePage refuses malformed UTF-8 (bad sequences, overlong forms, surrogates), the NUL
// character (the editor's text fields end at it) and any character the page cannot hold; the
// reason names the character as U+XXXX and its position (1-based, in characters). It never
// substitutes a '?'. *out is unchanged on failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"

namespace qm {

enum class CodePage : uint16_t {
  k1250 = 1250,  // Central European
  k1251 = 1251,  // Cyrillic
  k1252 = 1252,  // Western European, the default
};

constexpr CodePage kDefaultCodePage = CodePage::k1252;

// False for a number that is not one of the supported pages.
bool CodePageOfNumber(long number, CodePage* out);

std::string CodePageToUtf8(std::string_view text, CodePage page);

// The Unicode code point a single byte stands for in `page`.
uint32_t CodePointOfByte(uint8_t byte, CodePage page);

Status Utf8ToCodePage(std::string_view utf8, CodePage page, std::string* out);

// True when `text` is well-formed UTF-8 (NUL included).
bool IsUtf8(std::string_view text);

// "UTF-16LE" or "UTF-16BE" when `text` looks like UTF-16, as spreadsheets save "Unicode text":
// it begins with that form's byte order mark, or most of its first 256 code units hold a NUL
// byte in the same half (ASCII letters) and few hold one in the other; nullptr otherwise.
const char* Utf16FormOf(std::string_view text);

// Appends the UTF-8 form of a code point (at most 0x10FFFF, not a surrogate) to *out.
void AppendUtf8(uint32_t code_point, std::string* out);

}  // namespace qm
