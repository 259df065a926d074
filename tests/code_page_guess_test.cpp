#include "heroes/code_page_guess.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/demo_game/demo_heroes.h"

namespace qm {
namespace {

// Texts given in UTF-8, stored in `page`, guessed as read in `read_as`.
std::optional<CodePage> Guess(const std::vector<std::string>& utf8, CodePage page, CodePage read_as) {
  std::vector<std::string> stored(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) EXPECT_TRUE(Utf8ToCodePage(utf8[i], page, &stored[i]).ok()) << utf8[i];
  const std::vector<std::string_view> views(stored.begin(), stored.end());
  return GuessOtherCodePage(views, read_as);
}

std::vector<std::string> RosterTexts(demo::DemoLanguage language, bool biographies) {
  std::vector<std::string> texts;
  for (const demo::DemoHero& h : demo::DemoHeroes(demo::kDemoRosterSize, language)) {
    texts.push_back(h.name);
    if (biographies) texts.push_back(h.biography);
  }
  return texts;
}

// Western names and texts with accents, typographic quotes, dashes and signs: the texts of a
// Western game, which must never bring a hint.
const std::vector<std::string> kWestern = {
    "Éric Lefèvre",
    "Amélie Poulain",
    "François Duchêne",
    "Hélène Bérénice Gaël",
    "Benoît Thérèse",
    "Gaëtan Lemaître",
    "Zoë Brontë",
    "Ysaÿe la Pâle",
    "Sœur Marguerite",
    "Jürgen Müller",
    "Björn Größe",
    "Bärbel Rößler",
    "Dörte Löwenherz",
    "José Núñez",
    "Íñigo Montoya",
    "Begoña Zárate",
    "João Simões",
    "Inês Conceição",
    "Estêvão Gusmão",
    "Niccolò Bernabò",
    "Ólafur Þórðarson",
    "Guðrún Ósvífursdóttir",
    "Søren Kierkegård",
    "Åsa Lindström",
    "Håkon Sæbø",
    "Ævar Ásmundsson",
    "Dáire Ó Súilleabháin",
    "Siobhán Ní Bhriain",
    "Arnau Vilà i Sàbat",
    "Anaëlle d’Aubigné",
    "« Qu’il vienne ! » dit-elle, et le dragon vint… puis repartit, honteux.",
    "„Für Ehre und Vaterland“, schwor Günther – und hielt den Eid, auch als es ihn das Bein kostete.",
    "¿Quién sabe de dónde vino Íñigo? Sólo que juró venganza y que la cumplió.",
    "Niccolò era più forte di tutti, però la città non lo amava; così partì per sempre.",
    "Guðrún sagði: „Þeim var ég verst er ég unni mest.“",
    "Håkon bygde et skip av eik og sølv og seilte til verdens ende – to ganger.",
    "Zoë “the Bright” reads the stars; her rivals call her ‘the Meddler’ — 2 000 m up, at -5 °C.",
    "Ludovic a obtenu son diplôme à 12 ans ½, nº 3 de sa promotion © 1999.",
};

TEST(CodePageGuess, WesternTextsWithAccentsBringNoHint) {
  EXPECT_EQ(Guess(kWestern, CodePage::k1252, CodePage::k1252), std::nullopt);
  for (const std::string& text : kWestern) {
    EXPECT_EQ(Guess({text}, CodePage::k1252, CodePage::k1252), std::nullopt) << text;
  }
  EXPECT_EQ(Guess(RosterTexts(demo::DemoLanguage::kEnglish, true), CodePage::k1252, CodePage::k1252), std::nullopt);
}

TEST(CodePageGuess, RussianPolishAndCzechTextsReadAsWesternAreRecognised) {
  const std::vector<std::string> russian = RosterTexts(demo::DemoLanguage::kRussian, false);
  EXPECT_EQ(Guess(russian, CodePage::k1251, CodePage::k1252), CodePage::k1251);
  EXPECT_EQ(Guess(russian, CodePage::k1251, CodePage::k1250), CodePage::k1251);
  EXPECT_EQ(Guess({"Эрик Лефевр"}, CodePage::k1251, CodePage::k1252), CodePage::k1251);

  const std::vector<std::string> polish = RosterTexts(demo::DemoLanguage::kPolish, true);
  EXPECT_EQ(Guess(polish, CodePage::k1250, CodePage::k1252), CodePage::k1250);
  EXPECT_EQ(Guess(polish, CodePage::k1250, CodePage::k1251), CodePage::k1250);
  // ą reads as the sign № in 1251, which leaves no wrong word there either; 1250 reads it as a
  // letter of its word.
  EXPECT_EQ(Guess({"Otylia Wiązaczka", "Wiązaczka Run"}, CodePage::k1250, CodePage::k1252), CodePage::k1250);

  const std::vector<std::string> czech = {"Jiří Dvořák", "Božena Němcová", "Václav Čapek",
                                          "Přemysl oral pole, když pro něj přišli poslové kněžny Libuše."};
  EXPECT_EQ(Guess(czech, CodePage::k1250, CodePage::k1252), CodePage::k1250);
}

TEST(CodePageGuess, TextsInTheirOwnPageOrWithTooLittleEvidenceBringNoHint) {
  EXPECT_EQ(Guess(RosterTexts(demo::DemoLanguage::kRussian, true), CodePage::k1251, CodePage::k1251), std::nullopt);
  EXPECT_EQ(Guess(RosterTexts(demo::DemoLanguage::kPolish, true), CodePage::k1250, CodePage::k1250), std::nullopt);
  EXPECT_EQ(Guess({"Эрик"}, CodePage::k1251, CodePage::k1252), std::nullopt);  // one word
  EXPECT_EQ(Guess({}, CodePage::k1252, CodePage::k1252), std::nullopt);
  // UTF-8 stored as bytes (what qlmk set once did) looks wrong in every page: no page to suggest.
  EXPECT_EQ(Guess({"Ã‰ric LefÃ¨vre", "ZoÃ« et AmÃ©lie"}, CodePage::k1252, CodePage::k1252), std::nullopt);
}

}  // namespace
}  // namespace qm
