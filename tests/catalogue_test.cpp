// The hero catalogue: load from a game folder's archives, distribute and collect bundles, save,
// selection and editing.
#include "heroes/hero_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/h4r_reader.h"
#include "archive/h4r_writer.h"
#include "base/file.h"
#include "base/os.h"
#include "heroes/catalogue_faces.h"
#include "heroes/game_paths.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "portrait/portrait_codec.h"
#include "shell/language.h"
#include "tests/test_util.h"

namespace qm {
namespace {

using test::TempDir;

std::vector<uint8_t> Face(std::string_view keyword, FaceKind kind, uint32_t colour = MakeColour(200, 40, 40)) {
  std::vector<uint8_t> image;
  EXPECT_TRUE(EncodePortrait(Picture(FaceSize(kind), FaceSize(kind), colour), keyword, &image).ok());
  return image;
}

std::vector<uint8_t> Bundle(const std::vector<std::vector<uint8_t>>& images, int declared = -1) {
  const size_t count = declared >= 0 ? static_cast<size_t>(declared) : images.size();
  std::vector<uint8_t> out = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

// The names of a bundle's images, in order.
std::vector<std::string> BundleNames(const std::vector<uint8_t>& bundle) {
  std::vector<std::string> names;
  size_t at = 2;
  const size_t count = bundle[0] | (bundle[1] << 8);
  for (size_t i = 0; i < count; ++i) {
    const std::span<const uint8_t> rest = std::span<const uint8_t>(bundle).subspan(at);
    names.emplace_back(PortraitImageName(rest).value_or("?"));
    at += PortraitImageLength(rest).value_or(bundle.size());
  }
  EXPECT_EQ(at, bundle.size());
  return names;
}

HeroRecord Hero(std::string keyword, uint8_t hero_class, bool faces = true) {
  HeroRecord r;
  r.keyword = keyword;
  r.name = keyword + " the Tested";
  r.hero_class = hero_class;
  r.sex = kSexFemale;
  if (faces) {
    r.large_face = Face(keyword, FaceKind::kLarge);
    r.small_face = Face(keyword, FaceKind::kSmall);
    r.flags = kHeroHasLarge | kHeroHasSmall;
  }
  return r;
}

HeroRecord Pseudo(const char* keyword) {
  HeroRecord r;
  r.keyword = keyword;
  r.flags = kHeroReadOnly | kHeroHasLarge | kHeroHasSmall;
  r.large_face = Face(keyword, FaceKind::kLarge, MakeColour(10, 10, 10));
  r.small_face = Face(keyword, FaceKind::kSmall, MakeColour(10, 10, 10));
  return r;
}

std::vector<HeroRecord> Records(std::vector<HeroRecord> heroes) {
  std::vector<HeroRecord> out;
  HeroRecord header;
  header.keyword = "Keyword";
  header.name = "Name";
  out.push_back(header);
  out.push_back(Pseudo("dead"));
  out.push_back(Pseudo("sleeping"));
  for (HeroRecord& h : heroes) out.push_back(std::move(h));
  return out;
}

// A game folder: DATA with whichever archives a test creates.
class GameFolder {
 public:
  GameFolder() { std::filesystem::create_directory(dir_.path() / "DATA"); }
  std::string Data(const std::string& name) const { return (dir_.path() / "DATA" / name).string(); }
  std::string Create(const std::string& name, const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries) {
    const std::string path = Data(name);
    EXPECT_TRUE(CreateArchive(path).ok());
    for (const auto& [entry, content] : entries) EXPECT_TRUE(PutEntry(path, entry, content).ok()) << entry;
    return path;
  }
  GamePaths Paths() const { return GamePathsForFolder(dir_.path().string()); }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
};

std::vector<uint8_t> Entry(const std::string& archive, const std::string& name) {
  std::vector<uint8_t> content;
  EXPECT_TRUE(LoadEntry(archive, name, &content).ok()) << name;
  return content;
}

TEST(GamePaths, PrefersUpdatesThenHeroes4AndFindsNamesWithoutRegardToCase) {
  TempDir dir;
  GamePaths none = GamePathsForFolder(dir.path().string());
  EXPECT_TRUE(none.working_archive.empty());
  EXPECT_TRUE(none.text_archive.empty());
  EXPECT_EQ(none.base_archive, none.game_folder + "DATA" + none.game_folder.back() + "HEROES4.H4R");

  std::filesystem::create_directory(dir.path() / "Data");
  test::WriteFileText((dir.path() / "Data" / "heroes4.h4r").string(), "x");
  test::WriteFileText((dir.path() / "Data" / "Text.H4R").string(), "x");
  GamePaths base_only = GamePathsForFolder(dir.path().string());
  EXPECT_TRUE(os::FileExists(base_only.working_archive));
  EXPECT_EQ(base_only.working_archive, base_only.base_archive);
  EXPECT_TRUE(os::FileExists(base_only.text_archive));

  test::WriteFileText((dir.path() / "Data" / "UPDATES.h4r").string(), "x");
  GamePaths patched = GamePathsForFolder(dir.path().string() + "/");
  EXPECT_NE(patched.working_archive, patched.base_archive);
  EXPECT_TRUE(os::FileExists(patched.working_archive));
  EXPECT_EQ(patched.game_folder, dir.path().string() + "/");
}

TEST(HeroCatalogue, SaveWritesBundlesByAlignmentAndLoadReadsThemBack) {
  GameFolder game;
  const std::string base = game.Create("HEROES4.H4R", {});
  HeroCatalogue saved;
  ASSERT_TRUE(saved.Assign(Records({Hero("Nat", kClassArcher), Hero("Lif", kClassKnight), Hero("Ord", kClassMage),
                                    Hero("Dea", kClassNecromancer), Hero("Cha", kClassThief),
                                    Hero("Mig", kClassBarbarian), Hero("Gen", kClassGeneric),
                                    Hero("Odd", 13), Hero("Dk", kClassDeathKnight), Hero("Nil", kClassNone)}))
                  .ok());
  CatalogueSave report;
  ASSERT_TRUE(saved.Save(base, &report).ok());
  EXPECT_TRUE(report.table_written);

  const char* expected[][2] = {{"nature", "Nat"}, {"life", "Lif"}, {"order", "Ord"}, {"chaos", "Cha"}, {"might", "Mig"}};
  for (const auto& [token, keyword] : expected) {
    for (const char* size : {".82.h4d", ".52.h4d"}) {
      EXPECT_EQ(BundleNames(Entry(base, std::string("layers.icons.hero.") + token + size)),
                std::vector<std::string>{keyword}) << token << size;
    }
  }
  // Pseudo-heroes first, then death heroes (class 0 among them) in table order; generic and
  // unknown classes are in no bundle.
  const std::vector<std::string> death = {"dead", "sleeping", "Dea", "Dk", "Nil"};
  EXPECT_EQ(BundleNames(Entry(base, "layers.icons.hero.death.82.h4d")), death);
  EXPECT_EQ(BundleNames(Entry(base, "layers.icons.hero.death.52.h4d")), death);

  HeroCatalogue loaded;
  CatalogueLoad load;
  ASSERT_TRUE(loaded.Load(game.Paths(), &load).ok());
  EXPECT_EQ(load.table_source, base);
  ASSERT_EQ(loaded.count(), saved.count());
  for (size_t i = 1; i < loaded.count(); ++i) {
    const HeroRecord& a = saved.record(i);
    const HeroRecord& b = loaded.record(i);
    EXPECT_EQ(a.keyword, b.keyword);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(b.hero_class, a.hero_class <= kClassDeathKnight ? a.hero_class : 0);  // 13 has no token
    const bool bundled = AlignmentOfClass(a.hero_class) != kAlignmentNone;
    EXPECT_EQ(b.large_face, bundled ? a.large_face : std::vector<uint8_t>{}) << a.keyword;
    EXPECT_EQ(b.small_face, bundled ? a.small_face : std::vector<uint8_t>{}) << a.keyword;
    EXPECT_EQ(b.has_large(), bundled) << a.keyword;
    EXPECT_EQ(loaded.IsComplete(i), bundled && i >= kFirstHeroRecord && a.hero_class != 0) << a.keyword;
  }
  EXPECT_TRUE(loaded.record(kDeadRecord).read_only());
}

TEST(HeroCatalogue, CatalogueWithoutFacesSavesEmptyBundles) {
  HeroCatalogue c;
  ASSERT_TRUE(c.Assign(Records({Hero("Plain", kClassMage, false)})).ok());
  std::vector<uint8_t> bundle;
  c.CollectBundle(kAlignmentOrder, FaceKind::kLarge, &bundle);
  EXPECT_EQ(bundle, (std::vector<uint8_t>{0, 0}));
  // A face held without the flag (Auto S.Face Copy on a record without a small face) is saved.
  ASSERT_TRUE(c.ReplaceFace(3, FaceKind::kSmall, Face("Plain", FaceKind::kSmall)).ok());
  c.CollectBundle(kAlignmentOrder, FaceKind::kSmall, &bundle);
  EXPECT_EQ(BundleNames(bundle), std::vector<std::string>{"Plain"});
}

TEST(HeroCatalogue, DistributeSkipsStrangersGivesDuplicatesToTheFirstAndStopsAtDamage) {
  HeroCatalogue c;
  std::vector<HeroRecord> heroes = {Hero("Twin", kClassMage, false), Hero("TWIN", kClassMage, false),
                                    Hero("After", kClassMage, false)};
  ASSERT_TRUE(c.Assign(Records(std::move(heroes))).ok());
  EXPECT_EQ(c.FindByKeyword("twin"), 3);
  EXPECT_EQ(c.FindByKeyword("nobody"), -1);

  const auto twin = Face("twin", FaceKind::kLarge, MakeColour(1, 2, 3));
  const auto header = Face("Keyword", FaceKind::kLarge);
  const auto after = Face("After", FaceKind::kLarge);
  BundleDistribution d = c.DistributeBundle(Bundle({twin, Face("Nobody", FaceKind::kLarge), header, after}),
                                            FaceKind::kLarge);
  EXPECT_TRUE(d.ok());
  EXPECT_EQ(d.placed, 3u);
  EXPECT_EQ(d.unmatched, 1u);
  EXPECT_EQ(c.record(3).large_face, twin);
  EXPECT_TRUE(c.record(3).has_large());
  EXPECT_FALSE(c.record(3).has_small());
  EXPECT_TRUE(c.record(4).large_face.empty());
  EXPECT_EQ(c.record(0).large_face, header);  // stored in the header row, never saved
  EXPECT_EQ(c.record(5).large_face, after);

  // A bundle that ends inside its second image: the first is placed, the rest is left.
  HeroCatalogue cut;
  ASSERT_TRUE(cut.Assign(Records({Hero("A", kClassMage, false), Hero("B", kClassMage, false)})).ok());
  std::vector<uint8_t> bundle = Bundle({Face("A", FaceKind::kSmall), Face("B", FaceKind::kSmall)}, 3);
  bundle.resize(bundle.size() - 10);
  d = cut.DistributeBundle(bundle, FaceKind::kSmall);
  EXPECT_TRUE(d.damaged);
  EXPECT_EQ(d.placed, 1u);
  EXPECT_FALSE(cut.record(3).small_face.empty());
  EXPECT_TRUE(cut.record(4).small_face.empty());
  EXPECT_FALSE(cut.record(4).has_small());
  EXPECT_TRUE(cut.DistributeBundle(std::vector<uint8_t>{1}, FaceKind::kSmall).damaged);
  EXPECT_TRUE(cut.DistributeBundle(std::vector<uint8_t>{0, 0}, FaceKind::kSmall).ok());
}

// A complete game: the table in TEXT.H4R, every bundle in HEROES4.H4R, no UPDATES.H4R.
struct SplitGame {
  GameFolder folder;
  std::string base, text;
  HeroCatalogue source;

  SplitGame() {
    EXPECT_TRUE(source.Assign(Records({Hero("Ash", kClassDruid), Hero("Bo", kClassLord)})).ok());
    std::vector<uint8_t> table;
    EXPECT_TRUE(SerializeHeroTable(source.records(), &table).ok());
    text = folder.Create("TEXT.H4R", {{"table.heroes.h4d", table}});
    std::vector<std::pair<std::string, std::vector<uint8_t>>> bundles;
    for (uint8_t a = 1; a <= kAlignmentCount; ++a) {
      for (FaceKind kind : {FaceKind::kSmall, FaceKind::kLarge}) {
        std::vector<uint8_t> bundle;
        source.CollectBundle(a, kind, &bundle);
        bundles.emplace_back(BundleEntryName(a, kind), bundle);
      }
    }
    base = folder.Create("HEROES4.H4R", bundles);
  }
};

TEST(HeroCatalogue, LoadFallsBackToTextAndBaseArchives) {
  SplitGame game;
  const GamePaths paths = game.folder.Paths();
  EXPECT_EQ(paths.working_archive, game.base);
  EXPECT_EQ(paths.text_archive, game.text);
  HeroCatalogue c;
  CatalogueLoad load;
  ASSERT_TRUE(c.Load(paths, &load).ok());
  EXPECT_EQ(load.table_source, game.text);
  ASSERT_EQ(load.bundles.size(), 12u);
  EXPECT_EQ(load.bundles[0].name, "layers.icons.hero.nature.52.h4d");
  EXPECT_EQ(load.MissingBundles(), 0u);
  ASSERT_EQ(c.count(), 5u);
  EXPECT_TRUE(c.IsComplete(3));
  EXPECT_TRUE(c.IsComplete(4));
  EXPECT_EQ(c.record(kSleepingRecord).large_face, game.source.record(kSleepingRecord).large_face);

  // With UPDATES.H4R present, its entries win over both.
  HeroCatalogue patched;
  ASSERT_TRUE(patched.Assign(Records({Hero("Ash", kClassDruid), Hero("Bo", kClassLord)})).ok());
  ASSERT_TRUE(patched.SetName(3, "Ash Renamed").ok());
  ASSERT_TRUE(patched.ReplaceFace(3, FaceKind::kLarge, Face("Ash", FaceKind::kLarge, MakeColour(0, 0, 250))).ok());
  const std::string updates = game.folder.Create("UPDATES.H4R", {});
  ASSERT_TRUE(patched.Save(updates).ok());
  ASSERT_TRUE(c.Load(game.folder.Paths(), &load).ok());
  EXPECT_EQ(load.table_source, updates);
  EXPECT_EQ(c.record(3).name, "Ash Renamed");
  EXPECT_EQ(c.record(3).large_face, patched.record(3).large_face);
}

TEST(HeroCatalogue, LoadFailures) {
  SplitGame game;
  HeroCatalogue c;
  CatalogueLoad load;

  // A bundle in neither archive fails the load; the other bundles are still distributed.
  GamePaths paths = game.folder.Paths();
  const std::string partial = game.folder.Data("PARTIAL.H4R");
  ASSERT_TRUE(CreateArchive(partial).ok());
  for (FaceKind kind : {FaceKind::kSmall, FaceKind::kLarge}) {
    for (uint8_t a = 1; a <= kAlignmentCount; ++a) {
      if (a == kAlignmentNature && kind == FaceKind::kSmall) continue;
      ASSERT_TRUE(PutEntry(partial, BundleEntryName(a, kind), Entry(game.base, BundleEntryName(a, kind))).ok());
    }
  }
  paths.working_archive = partial;
  paths.base_archive = partial;
  EXPECT_FALSE(c.Load(paths, &load).ok());
  EXPECT_EQ(load.MissingBundles(), 1u);
  ASSERT_EQ(c.count(), 5u);
  EXPECT_TRUE(c.record(3).small_face.empty());          // druid: nature small missing
  EXPECT_FALSE(c.record(3).large_face.empty());
  EXPECT_FALSE(c.record(4).small_face.empty());         // lord: order, read after the failure

  // No table anywhere: an empty catalogue.
  paths.text_archive.clear();
  EXPECT_FALSE(c.Load(paths, &load).ok());
  EXPECT_TRUE(c.empty());
  EXPECT_TRUE(load.table_source.empty());
  EXPECT_FALSE(c.Save(partial).ok());  // nothing is written from an empty catalogue

  // A table without rows.
  const std::string empty_table = game.folder.Create("EMPTY.H4R", {{"table.heroes.h4d", {0, 0, 0, 0}}});
  paths.working_archive = empty_table;
  EXPECT_FALSE(c.Load(paths, &load).ok());
  EXPECT_TRUE(c.empty());
}

// A second save of the same catalogue writes no payload again, only one new directory, and a
// third fills the space the first directory left: saving without changes stops growing the file.
TEST(HeroCatalogue, SavesWithoutChangesWriteOnlyADirectoryAndLargeBundlesAreWritten) {
  GameFolder game;
  const std::string updates = game.Create("UPDATES.H4R", {});
  // Enough mages with busy faces that the order bundle passes the 2 MiB working buffer.
  std::vector<HeroRecord> heroes;
  Picture busy(kLargeFaceSize, kLargeFaceSize);
  for (int y = 0; y < busy.height(); ++y) {
    for (int x = 0; x < busy.width(); ++x) busy.at(x, y) = MakeColour(x * 3 + 1, y * 3, (x * y) & 0xFF);
  }
  std::vector<uint8_t> image;
  ASSERT_TRUE(EncodePortrait(busy, "", &image).ok());
  const size_t name_at = 4 + 3 * 256;  // the name's length field; the name is empty here
  for (int i = 0; i < 300; ++i) {
    HeroRecord h = Hero("mage" + std::to_string(i), kClassMage, false);
    h.large_face = image;
    h.large_face[name_at] = static_cast<uint8_t>(h.keyword.size());
    h.large_face.insert(h.large_face.begin() + name_at + 2, h.keyword.begin(), h.keyword.end());
    h.flags = kHeroHasLarge;
    heroes.push_back(std::move(h));
  }
  HeroCatalogue c;
  ASSERT_TRUE(c.Assign(Records(std::move(heroes))).ok());
  std::vector<uint8_t> bundle;
  c.CollectBundle(kAlignmentOrder, FaceKind::kLarge, &bundle);
  ASSERT_GT(bundle.size(), 2097152u);

  auto read_directory = [&] {
    Archive archive;
    Directory directory;
    EXPECT_TRUE(Archive::Open(updates, Archive::Access::kRead, &archive).ok());
    EXPECT_TRUE(archive.ReadDirectory(&directory).ok());
    return directory;
  };
  ASSERT_TRUE(c.Save(updates).ok());
  const auto size_once = std::filesystem::file_size(updates);
  const Directory once = read_directory();
  ASSERT_TRUE(c.Save(updates).ok());
  EXPECT_EQ(std::filesystem::file_size(updates), size_once + once.Size());
  ASSERT_TRUE(c.Save(updates).ok());
  EXPECT_EQ(std::filesystem::file_size(updates), size_once + once.Size());
  EXPECT_EQ(Entry(updates, "layers.icons.hero.order.82.h4d"), bundle);
  const Directory thrice = read_directory();
  ASSERT_EQ(thrice.entries.size(), 13u);
  for (size_t i = 0; i < thrice.entries.size(); ++i) {
    EXPECT_EQ(thrice.entries[i].record.trailing_word, kTrailingWordGzip);
    EXPECT_EQ(thrice.entries[i].record.data_offset, once.entries[i].record.data_offset);
  }
}

// The thirteen entries go in as one batch of puts: a write that fails anywhere fails every entry,
// and the archive keeps loading (here with the old content, which is the same).
TEST(HeroCatalogue, SaveReportsAFailedWriteForEveryEntry) {
  GameFolder game;
  const std::string updates = game.Create("UPDATES.H4R", {});
  HeroCatalogue c;
  ASSERT_TRUE(c.Assign(Records({Hero("One", kClassKnight)})).ok());
  ASSERT_TRUE(c.Save(updates).ok());
  fault::FailNth(1000000, fault::kWrite | fault::kFlush);  // count the writes and flushes of a save
  ASSERT_TRUE(c.Save(updates).ok());
  const unsigned long steps = fault::Counted();
  fault::Reset();
  EXPECT_EQ(steps, 4u);  // nothing changed: only a new directory and the header, and two flushes
  const std::vector<uint8_t> table = Entry(updates, "table.heroes.h4d");
  const std::vector<uint8_t> might = Entry(updates, "layers.icons.hero.might.82.h4d");

  for (unsigned long k : {1ul, steps / 2, steps}) {
    fault::FailNth(k, fault::kWrite | fault::kFlush);
    CatalogueSave report;
    const Status s = c.Save(updates, &report);
    fault::Reset();
    EXPECT_FALSE(s.ok()) << k;
    EXPECT_FALSE(report.table_written) << k;
    ASSERT_EQ(report.failed.size(), 13u) << k;
    EXPECT_NE(report.failed[12].find("layers.icons.hero.might.82.h4d"), std::string::npos);
    EXPECT_NE(s.why().find(updates), std::string::npos);
    EXPECT_NE(s.why().find("(and 12 more)"), std::string::npos);
    EXPECT_EQ(Entry(updates, "table.heroes.h4d"), table) << k;
    EXPECT_EQ(Entry(updates, "layers.icons.hero.might.82.h4d"), might) << k;
  }
  EXPECT_FALSE(c.Save("").ok());
}

TEST(HeroCatalogue, AssignTakesAtMostTheRecordLimit) {
  HeroCatalogue c;
  std::vector<HeroRecord> full(kMaxHeroRecords);
  ASSERT_TRUE(c.Assign(full).ok());
  full.emplace_back();
  EXPECT_FALSE(c.Assign(full).ok());
  EXPECT_EQ(c.count(), kMaxHeroRecords);
}

TEST(HeroCatalogue, EditingARecord) {
  HeroCatalogue c;
  ASSERT_TRUE(c.Assign(Records({Hero("A", kClassMage, false)})).ok());
  EXPECT_FALSE(c.SetName(kDeadRecord, "x").ok());
  EXPECT_FALSE(c.SetClass(kDeadRecord, kClassMage).ok());
  EXPECT_FALSE(c.ToggleAllowedBy(kDeadRecord).ok());
  EXPECT_EQ(c.record(kDeadRecord).name, "");
  // Faces of read-only records can still be replaced.
  EXPECT_TRUE(c.ReplaceFace(kDeadRecord, FaceKind::kLarge, Face("dead", FaceKind::kLarge)).ok());
  EXPECT_FALSE(c.ReplaceFace(4, FaceKind::kLarge, {}).ok());
  // A record past the end (the last one after MakeSFX dropped it) takes no edit.
  EXPECT_FALSE(c.SetName(4, "x").ok());
  EXPECT_FALSE(c.SetAllowedBy(4, true).ok());
  EXPECT_FALSE(c.SetSexByLabel(4, "female", ProgramText).ok());

  ASSERT_TRUE(c.SetName(3, std::string(70, 'n')).ok());
  EXPECT_EQ(c.record(3).name.size(), kNameMaxChars);
  ASSERT_TRUE(c.SetBiography(3, std::string(600, 'b')).ok());
  EXPECT_EQ(c.record(3).biography.size(), kBiographyMaxChars);
  ASSERT_TRUE(c.SetSexByLabel(3, "female", ProgramText).ok());
  EXPECT_EQ(c.record(3).sex, kSexFemale);
  ASSERT_TRUE(c.SetClassByLabel(3, "DeathKnight", ProgramText).ok());
  EXPECT_EQ(c.record(3).hero_class, kClassDeathKnight);
  ASSERT_TRUE(c.SetClassByLabel(3, "no such class", ProgramText).ok());
  EXPECT_EQ(c.record(3).hero_class, kClassNone);
  ASSERT_TRUE(c.ToggleAllowedBy(3).ok());
  EXPECT_EQ(c.record(3).allowed_by, 1);
  ASSERT_TRUE(c.ToggleAllowedBy(3).ok());
  EXPECT_EQ(c.record(3).allowed_by, 0);
  EXPECT_FALSE(c.IsComplete(3));
}

TEST(CatalogueFaces, PutPictureReplacesFacesAndAFailureKeepsThem) {
  HeroCatalogue c;
  ASSERT_TRUE(c.Assign(Records({Hero("Face", kClassSorcerer)})).ok());
  const HeroRecord before = c.record(3);
  Picture picture(120, 90, MakeColour(30, 160, 90));
  FaceOptions options;
  options.resize_method = 99;
  EXPECT_FALSE(PutPictureIntoRecord(&c, 3, picture, FaceKind::kLarge, options).ok());
  EXPECT_EQ(c.record(3).large_face, before.large_face);
  EXPECT_EQ(c.record(3).small_face, before.small_face);

  options = FaceOptions{};
  ASSERT_TRUE(PutPictureIntoRecord(&c, 3, picture, FaceKind::kLarge, options).ok());
  EXPECT_NE(c.record(3).large_face, before.large_face);
  EXPECT_NE(c.record(3).small_face, before.small_face);  // Auto S.Face Copy
  EXPECT_EQ(PortraitImageName(c.record(3).small_face).value_or(""), "Face");
  Picture shown;
  ASSERT_TRUE(DecodeRecordFace(c, 3, FaceKind::kLarge, &shown));
  EXPECT_EQ(shown.at(41, 41), MakeColour(30, 160, 90));
  EXPECT_EQ(shown.at(0, 0), kColourBlack);  // the mask's corner

  const std::vector<uint8_t> small = c.record(3).small_face;
  options.small_face_copy = false;
  ASSERT_TRUE(PutPictureIntoRecord(&c, 3, Picture(10, 10, kColourWhite), FaceKind::kLarge, options).ok());
  EXPECT_EQ(c.record(3).small_face, small);

  // Without the face flag the face is not shown, even when bytes are there.
  HeroCatalogue flagless;
  ASSERT_TRUE(flagless.Assign(Records({Hero("Nf", kClassMage, false)})).ok());
  ASSERT_TRUE(flagless.ReplaceFace(3, FaceKind::kSmall, Face("Nf", FaceKind::kSmall)).ok());
  EXPECT_FALSE(DecodeRecordFace(flagless, 3, FaceKind::kSmall, &shown));
  EXPECT_TRUE(DecodeRecordFace(flagless, kDeadRecord, FaceKind::kSmall, &shown));
}

}  // namespace
}  // namespace qm
