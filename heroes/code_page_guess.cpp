#include "heroes/code_page_guess.h"

#include <cstdint>

namespace qm {
namespace {

// A guess needs at least this many wrong-looking words in the page the texts were read in...
constexpr size_t kMinWrongWords = 2;
// ...at least this share of the words beyond ASCII, in percent...
constexpr size_t kMinWrongPercent = 20;
// ...and the other page must have at most this share of that many, in percent.
constexpr size_t kMaxOtherPercent = 20;

// Spaces, quotes, apostrophes, dashes and signs that stand between or around words.
constexpr uint16_t kPunctuation[] = {0x00A0, 0x00AD, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E,
                                     0x00AB, 0x00BB, 0x2039, 0x203A, 0x00BF, 0x00A1, 0x2026, 0x2013,
                                     0x2014, 0x2022, 0x00B0, 0x00A7, 0x00A9, 0x00AE, 0x2122, 0x00B4,
                                     0x00B7, 0x00B6, 0x00AA, 0x00BA, 0x2116, 0x2020, 0x2021};

enum class CharClass { kAsciiLetter, kLatinLetter, kCyrillicLetter, kSeparator, kOdd };

CharClass Classify(uint32_t cp) {
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z')) return CharClass::kAsciiLetter;
  if (cp < 0x80) return CharClass::kSeparator;
  // × and ÷ sit among the Latin letters; ƒ serves Western pages as the florin sign.
  if (cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7 && cp != 0x192) return CharClass::kLatinLetter;
  if (cp >= 0x400 && cp <= 0x52F) return CharClass::kCyrillicLetter;
  for (uint16_t p : kPunctuation) {
    if (cp == p) return CharClass::kSeparator;
  }
  return CharClass::kOdd;
}

// ì and ù end a word in the Western languages that have them (Italian: così, più; French: où);
// inside one they are most likely Czech ě and ů read in a Western page.
bool IsWordEndOnly(uint32_t cp) { return cp == 0xEC || cp == 0xF9 || cp == 0xCC || cp == 0xD9; }

struct Word {
  size_t ascii = 0, latin = 0, cyrillic = 0, odd = 0, high = 0;
  size_t end_only_inside = 0;  // ì or ù with a letter after it
  bool last_end_only = false;

  void Add(CharClass c, uint32_t cp) {
    if (last_end_only && c != CharClass::kOdd) ++end_only_inside;
    last_end_only = IsWordEndOnly(cp);
    switch (c) {
      case CharClass::kAsciiLetter: ++ascii; break;
      case CharClass::kLatinLetter: ++latin; break;
      case CharClass::kCyrillicLetter: ++cyrillic; break;
      case CharClass::kOdd: ++odd; break;
      case CharClass::kSeparator: break;
    }
    if (cp >= 0x80) ++high;
  }
  // Words of ASCII letters alone say nothing about the page.
  bool counts() const { return high > 0 && ascii + latin + cyrillic > 0; }
  bool looks_wrong() const {
    return odd > 0 || end_only_inside > 0 || (cyrillic > 0 && ascii + latin > 0) ||
           (cyrillic == 0 && ascii == 0 && latin >= 3);
  }
};

struct Tally {
  size_t words = 0;  // words beyond ASCII
  size_t wrong = 0;
};

Tally TallyIn(std::span<const std::string_view> texts, CodePage page) {
  Tally tally;
  Word word;
  auto end_word = [&] {
    if (word.counts()) {
      ++tally.words;
      if (word.looks_wrong()) ++tally.wrong;
    }
    word = Word{};
  };
  for (std::string_view text : texts) {
    for (char ch : text) {
      const uint32_t cp = CodePointOfByte(static_cast<uint8_t>(ch), page);
      const CharClass c = Classify(cp);
      if (c == CharClass::kSeparator) {
        end_word();
      } else {
        word.Add(c, cp);
      }
    }
    end_word();
  }
  return tally;
}

}  // namespace

std::optional<CodePage> GuessOtherCodePage(std::span<const std::string_view> texts, CodePage read_as) {
  const Tally read = TallyIn(texts, read_as);
  if (read.wrong < kMinWrongWords || read.wrong * 100 < read.words * kMinWrongPercent) return std::nullopt;
  // The page with the fewest wrong-looking words; between equals, the one in which more words
  // beyond ASCII read as sound words (in 1251, Polish ą is the sign №, which splits its word).
  std::optional<CodePage> best;
  Tally best_tally = read;
  for (CodePage page : {CodePage::k1251, CodePage::k1250, CodePage::k1252}) {
    if (page == read_as) continue;
    const Tally tally = TallyIn(texts, page);
    if (tally.wrong < best_tally.wrong ||
        (tally.wrong == best_tally.wrong && tally.words - tally.wrong > best_tally.words - best_tally.wrong)) {
      best = page;
      best_tally = tally;
    }
  }
  if (!best || best_tally.wrong * 100 > read.wrong * kMaxOtherPercent) return std::nullopt;
  return best;
}

}  // namespace qm
