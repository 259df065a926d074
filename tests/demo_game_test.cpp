// The demo game: a complete game folder whose every hero loads complete.
#include "tools/demo_game/demo_game.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "archive/h4r_reader.h"
#include "base/ascii.h"
#include "heroes/catalogue_faces.h"
#include "heroes/hero_catalogue.h"
#include "tests/test_util.h"
#include "tools/demo_game/demo_faces.h"
#include "tools/demo_heroes4/demo_executable.h"

namespace qm {
namespace {

Directory ReadDirectory(const std::string& path) {
  Archive archive;
  Directory directory;
  EXPECT_TRUE(Archive::Open(path, Archive::Access::kRead, &archive).ok()) << path;
  EXPECT_TRUE(archive.ReadDirectory(&directory).ok()) << path;
  return directory;
}

uint64_t Fnv(const Picture& p) {
  uint64_t h = 1469598103934665603ull;
  for (uint32_t v : p.pixels()) h = (h ^ v) * 1099511628211ull;
  return h;
}

TEST(DemoGame, EveryHeroLoadsCompleteFromAPatchedLookingGame) {
  test::TempDir dir;
  DemoGameSummary summary;
  ASSERT_TRUE(MakeDemoGame(dir.path().string(), {}, &summary).ok());
  EXPECT_EQ(summary.heroes, demo::kDemoRosterSize);
  EXPECT_EQ(test::ReadFileBytes(summary.executable),
            std::vector<uint8_t>(DemoGameExecutable().begin(), DemoGameExecutable().end()));

  const GamePaths paths = GamePathsForFolder(dir.path().string());
  EXPECT_EQ(paths.working_archive, summary.update_archive);
  HeroCatalogue c;
  CatalogueLoad load;
  ASSERT_TRUE(c.Load(paths, &load).ok());
  EXPECT_EQ(load.table_source, summary.text_archive);
  for (const BundleLoad& b : load.bundles) {
    EXPECT_EQ(b.source, summary.base_archive) << b.name;
    EXPECT_TRUE(b.distribution.ok()) << b.name;
    EXPECT_EQ(b.distribution.unmatched, 0u) << b.name;
  }
  ASSERT_EQ(c.count(), kFirstHeroRecord + demo::kDemoRosterSize);

  std::set<uint8_t> classes;
  std::set<uint8_t> sexes;
  for (size_t i = kDeadRecord; i < c.count(); ++i) {
    const HeroRecord& r = c.record(i);
    if (i >= kFirstHeroRecord) {
      EXPECT_TRUE(c.IsComplete(i)) << r.keyword;
      EXPECT_FALSE(r.biography.empty()) << r.keyword;
      EXPECT_EQ(c.FindByKeyword(r.keyword), static_cast<int>(i)) << "duplicate keyword " << r.keyword;
      classes.insert(r.hero_class);
      sexes.insert(r.sex);
    }
    Picture face;
    EXPECT_TRUE(DecodeRecordFace(c, i, FaceKind::kLarge, &face)) << r.keyword;
    EXPECT_TRUE(DecodeRecordFace(c, i, FaceKind::kSmall, &face)) << r.keyword;
  }
  EXPECT_EQ(classes.size(), 11u);  // archer .. death_knight
  EXPECT_EQ(sexes, (std::set<uint8_t>{kSexMale, kSexFemale}));

  // The base archive mixes raw entries (trailing word 1) with gzip ones; UPDATES.H4R holds one
  // entry that is not ours.
  size_t raw = 0;
  for (const FoundEntry& e : ReadDirectory(summary.base_archive).entries) raw += e.record.trailing_word == 1;
  EXPECT_GE(raw, 3u);
  const Directory updates = ReadDirectory(summary.update_archive);
  ASSERT_EQ(updates.entries.size(), 1u);
  EXPECT_FALSE(AsciiStartsWithNoCase(updates.entries[0].record.name, "layers.icons.hero"));
}

// The Russian and Polish demo games are the same heroes with their texts in the language of
// the code page: every letter fits the page and every text the editor's limits.
TEST(DemoGame, RussianAndPolishHeroesFitTheirCodePages) {
  const std::vector<demo::DemoHero> english = demo::DemoHeroes(kMaxHeroRecords);
  for (CodePage page : {CodePage::k1251, CodePage::k1250}) {
    const std::vector<demo::DemoHero> heroes = demo::DemoHeroes(kMaxHeroRecords, DemoLanguageOf(page));
    ASSERT_EQ(heroes.size(), english.size());
    for (size_t i = 0; i < heroes.size(); ++i) {
      const demo::DemoHero& h = heroes[i];
      EXPECT_EQ(h.keyword, english[i].keyword);
      EXPECT_EQ(h.sex, english[i].sex);
      EXPECT_EQ(h.hero_class, english[i].hero_class);
      EXPECT_EQ(h.look, english[i].look);
      EXPECT_NE(h.biography, english[i].biography) << "untranslated: " << h.keyword;
      std::string name, biography;
      ASSERT_TRUE(Utf8ToCodePage(h.name, page, &name).ok()) << h.name;
      ASSERT_TRUE(Utf8ToCodePage(h.biography, page, &biography).ok()) << h.biography;
      EXPECT_LE(name.size(), kNameMaxChars) << h.name;
      EXPECT_LE(biography.size(), kBiographyMaxChars) << h.biography;
    }
  }

  test::TempDir dir;
  DemoGameOptions options;
  options.hero_count = 5;
  options.code_page = CodePage::k1251;
  ASSERT_TRUE(MakeDemoGame(dir.path().string(), options).ok());
  HeroCatalogue c;
  CatalogueLoad load;
  ASSERT_TRUE(c.Load(GamePathsForFolder(dir.path().string()), &load).ok());
  EXPECT_EQ(CodePageToUtf8(c.record(kFirstHeroRecord).name, CodePage::k1251), "Сильвена Светлое Перо");
}

TEST(DemoGame, FacesAreTheSameInEveryBuild) {
  const std::vector<demo::DemoHero> heroes = demo::DemoHeroes(70);
  ASSERT_EQ(heroes.size(), 70u);
  EXPECT_EQ(heroes[65].keyword, "demo0066");
  // Fingerprints of painted pixels: floating point must round alike on the host and in the
  // 32-bit Windows build. (Changing the art changes them.)
  EXPECT_EQ(Fnv(demo::DrawDemoFace(heroes[12], kLargeFaceSize)), 0x14b00bd56631b0aaull);
  EXPECT_EQ(Fnv(demo::DrawDemoFace(heroes[44], kSmallFaceSize)), 0x603477928d71f522ull);
  EXPECT_EQ(Fnv(demo::DrawPseudoHeroFace(kDeadRecord, kLargeFaceSize)), 0xd64e5f5b42119410ull);
}

}  // namespace
}  // namespace qm
