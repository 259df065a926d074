// Reading UTF-8 one code point at a time, strictly: overlong forms, surrogates, code points
// above U+10FFFF and truncated sequences are malformed.
//
//   size_t pos = 0;
//   uint32_t cp;
//   while (pos < text.size() && qm::NextUtf8CodePoint(text, &pos, &cp)) ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

// Reads the code point at *pos (which must be inside `text`) and advances past it; false for a
// malformed sequence, leaving *pos where it was.
bool NextUtf8CodePoint(std::string_view text, size_t* pos, uint32_t* out);

}  // namespace qm
