#include "qlmk/hero_text.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/json_string.h"
#include "base/quoted_text.h"
#include "heroes/code_page_guess.h"
#include "qlmk/json_text.h"

namespace qlmk {
namespace {

bool ParsePage(const std::string& text, qm::CodePage* page) {
  const bool number = !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
  return number && qm::CodePageOfNumber(std::stol(text), page);
}

const char* Script(qm::CodePage page) {
  switch (page) {
    case qm::CodePage::k1250: return "Central European";
    case qm::CodePage::k1251: return "Cyrillic";
    case qm::CodePage::k1252: break;
  }
  return "Western";
}

}  // namespace

int HeroText::FromArgs(const Args& args, HeroText* out) {
  HeroText text;
  if (args.Has("--codepage")) {
    if (!ParsePage(args.Value("--codepage"), &text.page_)) return args.Usage("--codepage takes 1252, 1251 or 1250");
    text.chosen_ = true;
  } else if (const char* variable = std::getenv(kCodePageVariable); variable && *variable) {
    if (!ParsePage(variable, &text.page_)) {
      return args.Usage(std::string(kCodePageVariable) + " is '" + variable + "'; it takes 1252, 1251 or 1250");
    }
    text.chosen_ = true;
  }
  *out = text;
  return kExitOk;
}

std::string HeroText::Utf8(std::string_view stored) const { return qm::CodePageToUtf8(stored, page_); }

std::string HeroText::Line(std::string_view stored) const { return qm::EscapedText(Utf8(stored)); }

std::string HeroText::Json(std::string_view stored) const {
  std::string out;
  qm::AppendJsonString(&out, Utf8(stored));
  return out;
}

int HeroText::Store(const Args& args, const char* option, const char* field, size_t max_bytes, std::string* out) const {
  std::string bytes;
  const std::string text = args.Text(option);
  if (qm::Status s = qm::Utf8ToCodePage(text, page_, &bytes); !s) {
    // With the page left to its default, a text that another page holds may mean the game's
    // texts are in that page.
    std::string advice;
    for (qm::CodePage other : {qm::CodePage::k1251, qm::CodePage::k1250, qm::CodePage::k1252}) {
      std::string unused;
      if (chosen_) break;
      if (other != page_ && qm::Utf8ToCodePage(text, other, &unused)) {
        const std::string number = std::to_string(static_cast<int>(other));
        advice = " (it fits code page " + number + ": if the game's texts are in it, give --codepage " + number + ")";
        break;
      }
    }
    return Fail(std::string(option) + ": the " + field + " cannot be stored: " + s.why() + "; nothing was changed" +
                advice);
  }
  if (bytes.size() > max_bytes) {
    return args.Usage(std::string("a ") + field + " holds at most " + std::to_string(max_bytes) +
                      " characters, and this one has " + std::to_string(bytes.size()));
  }
  *out = std::move(bytes);
  return kExitOk;
}

bool HeroText::StoredKeyword(std::string_view utf8, std::string* out) const {
  return qm::Utf8ToCodePage(utf8, page_, out).ok();
}

void HeroText::HintIfOtherPage(std::span<const qm::HeroRecord> records) const {
  if (chosen_) return;
  std::vector<std::string_view> texts;
  for (const qm::HeroRecord& r : records) {
    for (const std::string* t : {&r.name, &r.biography, &r.extra}) {
      if (!t->empty()) texts.push_back(*t);
    }
  }
  const std::optional<qm::CodePage> other = qm::GuessOtherCodePage(texts, page_);
  if (!other) return;
  const int number = static_cast<int>(*other);
  std::fprintf(stderr,
               "qlmk: hint: these hero texts look like code page %d (%s), not %d; if they show wrong, give "
               "--codepage %d or set %s=%d\n",
               number, Script(*other), static_cast<int>(page_), number, kCodePageVariable, number);
}

}  // namespace qlmk
