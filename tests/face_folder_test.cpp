#include "heroes/face_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "heroes/catalogue_diff.h"
#include "heroes/catalogue_faces.h"
#include "portrait/picture_file.h"
#include "tests/portrait_test_util.h"
#include "tests/test_util.h"
#include "tools/demo_game/demo_game.h"

namespace qm {
namespace {

HeroCatalogue DemoCatalogue(size_t heroes) {
  std::vector<HeroRecord> records;
  EXPECT_TRUE(MakeDemoRecords(demo::DemoHeroes(heroes), &records));
  HeroCatalogue c;
  EXPECT_TRUE(c.Assign(std::move(records)));
  return c;
}

std::vector<FolderFile> Files(const std::vector<std::string>& names) {
  std::vector<FolderFile> files;
  for (const std::string& n : names) files.push_back({"/nowhere/" + n, "faces/" + n, n});
  return files;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

TEST(FaceFolderTest, FileNamesAreSafeOnWindowsAndLinux) {
  EXPECT_EQ(FileSafeKeyword("Aldric_2-b"), "Aldric_2-b");
  EXPECT_EQ(FileSafeKeyword("Sir X.<a>/b\\c:\"d\"|e?*"), "Sir_X__a__b_c__d__e__");
  EXPECT_EQ(FileSafeKeyword("Caf\xE9"), "Caf_");
  EXPECT_EQ(ExportedFaceName(12, "Al dric", FaceKind::kSmall), "12-Al_dric-small.png");
}

TEST(FaceFolderTest, ExportedNamesAndKeywordNamesFindTheirFaces) {
  const HeroCatalogue c = DemoCatalogue(4);  // records 3..6: Sylwen, Corin, Talia, ...
  const std::string k3 = c.record(3).keyword, k4 = c.record(4).keyword, k5 = c.record(5).keyword;
  FaceMatch m;
  MatchFacePictures(Files({"3-" + k3 + "-large.png", "4-" + k4 + "-SMALL.PNG", k5 + ".JPG", "dead-small.gif",
                           "0-Keyword-large.png", "77-Nobody-large.png", "3-Wrong-large.png", "Nobody.png",
                           "notes.txt", "Keyword.png"}),
                    c, CodePage::k1252, &m);
  ASSERT_EQ(m.pictures.size(), 4u) << Joined(m.unmatched);
  EXPECT_EQ(m.pictures[0].record, 1u);
  EXPECT_EQ(m.pictures[0].kind, FaceKind::kSmall);
  EXPECT_EQ(m.pictures[1].record, 3u);
  EXPECT_EQ(m.pictures[1].kind, FaceKind::kLarge);
  EXPECT_EQ(m.pictures[2].record, 4u);
  EXPECT_EQ(m.pictures[2].kind, FaceKind::kSmall);
  EXPECT_EQ(m.pictures[3].record, 5u);
  EXPECT_TRUE(m.pictures[3].by_keyword);
  EXPECT_TRUE(m.refused.empty());
  EXPECT_EQ(Joined(m.unmatched),
            "faces/0-Keyword-large.png: no hero has the record number 0\n"
            "faces/77-Nobody-large.png: no hero has the record number 77\n"
            "faces/3-Wrong-large.png: record 3 is \"" + k3 + "\", not \"Wrong\"\n"
            "faces/Nobody.png: no hero has the keyword \"Nobody\"\n"
            "faces/notes.txt: not a picture named after a hero\n"
            "faces/Keyword.png: no hero has the keyword \"Keyword\"\n");
}

TEST(FaceFolderTest, AKeywordPictureIsTakenOverTheExportedFileAndTwoAreRefused) {
  const HeroCatalogue c = DemoCatalogue(2);
  const std::string k3 = c.record(3).keyword, k4 = c.record(4).keyword;
  FaceMatch m;
  MatchFacePictures(Files({"3-" + k3 + "-large.png", k3 + ".bmp", k4 + ".png", k4 + ".jpg"}), c, CodePage::k1252, &m);
  ASSERT_EQ(m.pictures.size(), 1u);
  EXPECT_EQ(m.pictures[0].file.name, k3 + ".bmp");
  EXPECT_EQ(Joined(m.unmatched),
            "faces/3-" + k3 + "-large.png: the large face of record 3 is taken from faces/" + k3 + ".bmp\n");
  ASSERT_EQ(m.refused.size(), 2u);
  EXPECT_NE(m.refused[0].find("more than one picture for the large face of record 4 (faces/" + k4 + ".png, faces/" +
                              k4 + ".jpg)"),
            std::string::npos)
      << m.refused[0];
}

TEST(FaceFolderTest, AKeywordSharedByRecordsIsRefusedWithTheirNumbers) {
  std::vector<HeroRecord> records;
  ASSERT_TRUE(MakeDemoRecords(demo::DemoHeroes(3), &records));
  records[5].keyword = "TWIN";
  records[3].keyword = "twin";
  HeroCatalogue c;
  ASSERT_TRUE(c.Assign(std::move(records)));
  FaceMatch m;
  MatchFacePictures(Files({"Twin.png", "5-TWIN-large.png"}), c, CodePage::k1252, &m);
  ASSERT_EQ(m.refused.size(), 1u);
  EXPECT_NE(m.refused[0].find("faces/Twin.png: the keyword belongs to records 3, 5"), std::string::npos) << m.refused[0];
  ASSERT_EQ(m.pictures.size(), 1u);  // the numbered name is unambiguous
  EXPECT_EQ(m.pictures[0].record, 5u);
}

TEST(FaceFolderTest, ExportedFacesImportUnchangedAndNewPicturesAreFitted) {
  const HeroCatalogue current = DemoCatalogue(3);
  test::TempDir dir;
  FaceExport exported;
  ASSERT_TRUE(ExportFaces(current, dir.path().string(), &exported));
  EXPECT_EQ(exported.written, 2 * (current.count() - 1));  // every record but the header row
  EXPECT_TRUE(exported.skipped.empty());

  // Replace one large face with another picture, and write garbage over one small face.
  const std::string k4 = current.record(4).keyword, k5 = current.record(5).keyword;
  ASSERT_TRUE(WritePictureFile(dir.File(k4 + ".bmp"), test::PseudoRandomPicture(120, 90, 7)));
  test::WriteFileText(dir.File("5-" + k5 + "-small.png"), "not a picture");

  std::vector<FolderFile> files;
  ASSERT_TRUE(ListFolderFiles(dir.path().string(), "faces/", &files));
  ASSERT_EQ(files.size(), exported.written + 1);
  FaceMatch m;
  MatchFacePictures(files, current, CodePage::k1252, &m);
  EXPECT_TRUE(m.refused.empty());
  FaceOptions options;
  options.small_face_copy = false;
  HeroCatalogue proposed = current;
  FaceImport imported;
  size_t last_done = 0;
  ImportFacePictures(current, m.pictures, options, &proposed, &imported, [&](size_t done, size_t total) {
    EXPECT_EQ(total, m.pictures.size());
    last_done = done;
  });
  EXPECT_EQ(last_done, m.pictures.size());
  EXPECT_EQ(imported.replaced, 1u);
  EXPECT_EQ(imported.unchanged, m.pictures.size() - 2);
  ASSERT_EQ(imported.refused.size(), 1u);
  EXPECT_EQ(imported.refused[0], dir.File("5-" + k5 + "-small.png") + ": not a picture (JPEG, GIF, BMP or PNG)");

  const CatalogueDiff diff = DiffCatalogues(current.records(), proposed.records());
  EXPECT_EQ(CatalogueDiffText(diff), "4 " + k4 + ": large face changed\n");
}

TEST(FaceFolderTest, AFaceIsTakenOnlyWhereTheRecordHasItsSlot) {
  std::vector<HeroRecord> records;
  ASSERT_TRUE(MakeDemoRecords(demo::DemoHeroes(1), &records));
  records[3].flags &= ~kHeroHasSmall;
  HeroCatalogue current;
  ASSERT_TRUE(current.Assign(std::move(records)));
  test::TempDir dir;
  ASSERT_TRUE(WritePictureFile(dir.File("x.png"), test::PseudoRandomPicture(52, 52, 1)));
  const FacePicture p{{dir.File("x.png"), "x.png", "x.png"}, 3, FaceKind::kSmall, true};
  HeroCatalogue proposed = current;
  FaceImport imported;
  ImportFacePictures(current, std::span(&p, 1), FaceOptions{}, &proposed, &imported);
  ASSERT_EQ(imported.refused.size(), 1u);
  EXPECT_NE(imported.refused[0].find("holds no small face"), std::string::npos);
  EXPECT_TRUE(DiffCatalogues(current.records(), proposed.records()).empty());
}

}  // namespace
}  // namespace qm
