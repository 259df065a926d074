#include "heroes/catalogue_diff.h"

#include <gtest/gtest.h>

#include <vector>

#include "heroes/value_tables.h"

namespace qm {
namespace {

std::vector<HeroRecord> Catalogue(size_t count) {
  std::vector<HeroRecord> records(count);
  for (size_t i = kFirstHeroRecord; i < count; ++i) {
    // Appended, not `"..." + std::to_string(i)`: GCC 12 at -O3 misreads that as an overlap.
    (records[i].keyword = "Hero") += std::to_string(i);
    (records[i].name = "Name ") += std::to_string(i);
    records[i].hero_class = kClassKnight;
    records[i].large_face = {1, 2, 3};
    records[i].small_face = {4, 5};
  }
  return records;
}

TEST(CatalogueDiffTest, SameCataloguesHaveNoDifference) {
  const auto a = Catalogue(6);
  const CatalogueDiff diff = DiffCatalogues(a, a);
  EXPECT_TRUE(diff.empty());
  EXPECT_EQ(CatalogueDiffText(diff), "");
  EXPECT_EQ(CatalogueDiffJson(diff), "{\"changes\": []}\n");
}

TEST(CatalogueDiffTest, ListsEachChangedFieldInOrder) {
  const auto a = Catalogue(6);
  auto b = a;
  b[3].name = "Old \"quoted\"\nline";
  b[3].sex = kSexFemale;
  b[3].allowed_by = 1;
  b[3].large_face = {9};
  b[5].hero_class = kClassMage;
  b[5].small_face.clear();
  b[0].name = "header rows are not compared";
  const CatalogueDiff diff = DiffCatalogues(a, b);
  ASSERT_EQ(diff.heroes.size(), 2u);
  EXPECT_EQ(diff.LineCount(), 6u);
  EXPECT_EQ(CatalogueDiffText(diff),
            "3 Hero3: name \"Name 3\" -> \"Old \\\"quoted\\\"\\nline\"\n"
            "3 Hero3: sex none -> female\n"
            "3 Hero3: Allowed By no -> yes\n"
            "3 Hero3: large face changed\n"
            "5 Hero5: class knight -> mage\n"
            "5 Hero5: small face removed\n");
}

TEST(CatalogueDiffTest, AddedAndDroppedRecordsByNumber) {
  const auto a = Catalogue(5);
  const auto b = Catalogue(7);
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(a, b)), "5 Hero5: added\n6 Hero6: added\n");
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(b, a)), "5 Hero5: dropped\n6 Hero6: dropped\n");
}

TEST(CatalogueDiffTest, KeywordAndExtraChangesAreNotHidden) {
  const auto a = Catalogue(4);
  auto b = a;
  // Move-assigned: GCC 12 at -O3 misreads assigning the literals here as an overlap.
  b[3].keyword = std::string("Other");
  b[3].extra = std::string("x");
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(a, b)),
            "3 Hero3: keyword \"Hero3\" -> \"Other\"\n3 Hero3: extra \"\" -> \"x\"\n");
}

TEST(CatalogueDiffTest, TextsAreShownThroughTheCodePage) {
  const auto a = Catalogue(4);
  auto b = a;
  b[3].biography = "Caf\xE9\t\x01";  // code page byte E9
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(a, b), CodePage::k1252),
            "3 Hero3: biography \"\" -> \"Caf\xC3\xA9\\t\\x01\"\n");
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(a, b), CodePage::k1251),
            "3 Hero3: biography \"\" -> \"Caf\xD0\xB9\\t\\x01\"\n");
  EXPECT_EQ(CatalogueDiffJson(DiffCatalogues(a, b)),
            "{\"changes\": [\n {\"record\": 3, \"keyword\": \"Hero3\", \"change\": \"changed\", \"fields\": "
            "[{\"field\": \"biography\", \"before\": \"\", \"after\": \"Caf\xC3\xA9\\t\\u0001\"}]}\n]}\n");
}

TEST(CatalogueDiffTest, JsonNamesFacesAndKinds) {
  const auto a = Catalogue(4);
  auto b = Catalogue(5);
  b[3].large_face.clear();
  EXPECT_EQ(CatalogueDiffJson(DiffCatalogues(a, b)),
            "{\"changes\": [\n"
            " {\"record\": 3, \"keyword\": \"Hero3\", \"change\": \"changed\", \"fields\": "
            "[{\"field\": \"large_face\", \"before\": \"present\", \"after\": \"none\"}]},\n"
            " {\"record\": 4, \"keyword\": \"Hero4\", \"change\": \"added\", \"fields\": []}\n]}\n");
}

TEST(CatalogueDiffTest, FacesAreComparedAsASaveWritesThem) {
  const auto a = Catalogue(6);
  auto b = a;
  b[3].hero_class = kClassGeneric;  // no portrait bundle: saving drops both faces
  b[4].hero_class = 13;             // unknown classes have none either
  b[4].small_face.clear();
  auto c = b;
  c[3].name = std::string("Renamed");  // stays generic: its faces were not saved before either
  c[4].hero_class = kClassMage;        // back in a bundle: its large face is saved again
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(a, b)),
            "3 Hero3: class knight -> generic\n"
            "3 Hero3: large face removed\n"
            "3 Hero3: small face removed\n"
            "4 Hero4: class knight -> none\n"
            "4 Hero4: large face removed\n"
            "4 Hero4: small face removed\n");
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(b, c)),
            "3 Hero3: name \"Name 3\" -> \"Renamed\"\n"
            "4 Hero4: class none -> mage\n"
            "4 Hero4: large face added\n");
}

TEST(CatalogueDiffTest, ControlCharactersInKeywordsAndTextsAreEscaped) {
  auto a = Catalogue(4);
  a[3].keyword = std::string("Evil\x1B[2J\nHero");
  auto b = a;
  b[3].name = std::string("\x1B]0;title\x07\x81");  // 0x81 is the C1 control U+0081 in code page 1252
  EXPECT_EQ(CatalogueDiffText(DiffCatalogues(a, b)),
            "3 Evil\\x1B[2J\\nHero: name \"Name 3\" -> \"\\x1B]0;title\\x07\\u0081\"\n");
}

}  // namespace
}  // namespace qm
