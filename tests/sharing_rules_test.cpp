// The small rules of sharing and backup: which payload names may become files, the file-time
// record, the RESTORE marker, the version gates and where the target archive is.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/file_time_record.h"
#include "base/os.h"
#include "base/path.h"
#include "heroes/game_paths.h"
#include "patcher/patch_apply.h"
#include "restore/restore_walk.h"
#include "shell/backup.h"
#include "shell/game_version.h"
#include "tests/test_util.h"
#include "tools/demo_game/demo_game.h"
#include "tools/demo_heroes4/demo_executable.h"

namespace qm {
namespace {

// Both name one existing file (spellings differ: Windows folds case and takes either separator).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

TEST(PayloadNames, OnlyNamesInsideTheFolderAreSafe) {
  for (const char* ok : {"DATA\\UPDATES.H4R", "maps/new.h4c", "readme.txt", "a..b", "DATA\\..x\\f", ".", "a b.txt"}) {
    EXPECT_TRUE(IsSafeRelativeName(ok)) << ok;
  }
  for (const char* bad : {"", "\\Windows\\x.dll", "/etc/passwd", "C:\\x", "C:x", "DATA\\x:stream", "..",
                          "..\\HEROES4.EXE", "DATA\\..\\..\\x", "DATA/../x", "a\\..", "x/..\\..\\y", "...\\x", ".. \\x", "DATA\\. .\\x"}) {
    EXPECT_FALSE(IsSafeRelativeName(bad)) << bad;
  }
  EXPECT_TRUE(IsBareFileName("UPDATES.H4R"));
  for (const char* bad : {"DATA\\UPDATES.H4R", "DATA/UPDATES.H4R", "..", ".", "", "C:UPDATES.H4R", "/x"}) {
    EXPECT_FALSE(IsBareFileName(bad)) << bad;
  }
}

TEST(PayloadNames, GameRelativeNamesFindExistingPartsWithoutRegardToCase) {
  test::TempDir dir;
  const std::string game = dir.path().string() + "/";
  std::filesystem::create_directory(dir.path() / "Data");
  test::WriteFileText(game + "Data/updates.h4r", "x");
  EXPECT_TRUE(SameFile(GamePathOfName(game, "DATA\\UPDATES.H4R"), game + "Data/updates.h4r"));
  // Parts that do not exist yet keep their spelling.
  std::filesystem::create_directory(dir.path() / "Data" / "NEW");
  const std::string made = GamePathOfName(game, "DATA\\NEW\\file.txt");
  test::WriteFileText(made, "y");
  EXPECT_TRUE(SameFile(made, game + "Data/NEW/file.txt")) << made;
  EXPECT_EQ(GamePathOfName(game, "readme.txt"), game + "readme.txt");
}

TEST(FileTimeRecord, RoundTripsAndRefusesBrokenRecords) {
  FileTimeRecord rec;
  rec.creation = 0x0102030405060708ull;
  rec.last_write = 0x1112131415161718ull;
  rec.name = "UPDATES.H4R";
  const std::vector<uint8_t> bytes = EncodeFileTimeRecord(rec);
  ASSERT_EQ(bytes.size(), 28u);
  EXPECT_EQ(bytes[0], 0x08);  // low byte first
  EXPECT_EQ(bytes[8], 0x18);
  EXPECT_EQ(bytes[27], 0);
  FileTimeRecord back;
  ASSERT_TRUE(DecodeFileTimeRecord(bytes, &back));
  EXPECT_EQ(back.creation, rec.creation);
  EXPECT_EQ(back.last_write, rec.last_write);
  EXPECT_EQ(back.name, "UPDATES.H4R");

  EXPECT_FALSE(DecodeFileTimeRecord(std::span(bytes).first(16), &back));
  EXPECT_FALSE(DecodeFileTimeRecord(std::span(bytes).first(27), &back));  // no NUL

  test::TempDir dir;
  const std::string path = dir.File("UPDATES.H4R");
  test::WriteFileText(path, "archive");
  ASSERT_TRUE(os::WriteFileTimes(path, {0, 132000000000000000ull}));
  std::vector<uint8_t> made;
  ASSERT_TRUE(MakeFileTimeRecord(path, "UPDATES.H4R", &made));
  ASSERT_TRUE(DecodeFileTimeRecord(made, &back));
  EXPECT_EQ(back.last_write, 132000000000000000ull);
  EXPECT_FALSE(MakeFileTimeRecord(dir.File("missing"), "x", &made));
}

TEST(RestoreMarker, FormatsParsesAndGatesTheOffer) {
  EXPECT_EQ(FormatRestoreMarker(1.3f), "1.300");
  EXPECT_EQ(FormatRestoreMarker(1.0f), "1.000");
  EXPECT_EQ(ParseRestoreMarker("1.300"), 1.3f);
  EXPECT_EQ(ParseRestoreMarker(FormatRestoreMarker(1.234f)), 1.234f);
  EXPECT_EQ(ParseRestoreMarker(""), 0.0f);
  EXPECT_EQ(ParseRestoreMarker("garbage"), 0.0f);
  EXPECT_EQ(ParseRestoreMarker("1.2abc"), 1.2f);

  EXPECT_TRUE(ShouldOfferBackup(1.3f, 0.0f));
  EXPECT_TRUE(ShouldOfferBackup(1.3f, ParseRestoreMarker("1.200")));
  EXPECT_FALSE(ShouldOfferBackup(1.3f, ParseRestoreMarker(FormatRestoreMarker(1.3f))));
  EXPECT_TRUE(ShouldOfferBackup(1.1f, 0.0f));
  EXPECT_FALSE(ShouldOfferBackup(1.0f, 0.0f));
  EXPECT_FALSE(ShouldOfferBackup(0.0f, 0.0f));
}

// Once the marker holds a version, that version never asks again and the next one does, for
// every version 1 to 3.9.9.9 with one-digit parts: 1.3.1.0 computes to 1.31000006, is kept as
// "1.310" and reads back as 1.30999994, which must not count as an older version.
TEST(RestoreMarker, AVersionKeptAsTextIsNotOlderThanItself) {
  float previous_marker = 0.0f;
  size_t asked_again = 0;
  for (uint32_t major = 1; major <= 3; ++major) {
    for (uint32_t parts = 0; parts < 1000; ++parts) {
      const float version =
          GameVersionFromProductVersion((major << 16) | (parts / 100), ((parts / 10 % 10) << 16) | (parts % 10));
      const float marker = ParseRestoreMarker(FormatRestoreMarker(version));
      if (RestoreMarkerIsBelow(marker, version) || ShouldOfferBackup(version, marker)) ++asked_again;
      EXPECT_TRUE(version < kBackupMinimumVersion || ShouldOfferBackup(version, previous_marker)) << version;
      previous_marker = marker;
    }
  }
  EXPECT_EQ(asked_again, 0u);
}

TEST(VersionGates, PatcherAsksBelow13AndRestoreRefusesBelow11) {
  EXPECT_FALSE(VersionNeedsQuestion(0.0f));
  EXPECT_TRUE(VersionNeedsQuestion(1.0f));
  EXPECT_TRUE(VersionNeedsQuestion(1.2f));
  EXPECT_FALSE(VersionNeedsQuestion(1.3f));
  EXPECT_FALSE(VersionNeedsQuestion(2.0f));

  test::TempDir dir;
  const std::string game = dir.path().string() + "/";
  EXPECT_EQ(CheckRestoreStart(game, 1.3f), RestoreStart::kNothingToRestore);
  std::filesystem::create_directory(dir.path() / "data");
  test::WriteFileText(game + "data/Updates.h4r", "x");
  EXPECT_EQ(CheckRestoreStart(game, 1.3f), RestoreStart::kGo);
  EXPECT_EQ(CheckRestoreStart(game, 0.0f), RestoreStart::kGo);  // an unreadable version does not object
  EXPECT_EQ(CheckRestoreStart(game, 1.0f), RestoreStart::kVersionTooOld);
  EXPECT_EQ(CheckRestoreStart(game, 1.1f), RestoreStart::kGo);
}

TEST(VersionGates, TheDemoGameCanClaimAnyVersion) {
  std::vector<uint8_t> exe;
  ASSERT_TRUE(DemoExecutableWithVersion(DemoGameExecutable(), {1, 2, 0, 0}, &exe));
  EXPECT_EQ(exe.size(), DemoGameExecutable().size());
  EXPECT_EQ(GameVersionOfImage(exe), 1.2f);
  ASSERT_TRUE(DemoExecutableWithVersion(DemoGameExecutable(), {2, 0, 5, 7}, &exe));
  EXPECT_EQ(GameVersionOfImage(exe), GameVersionFromProductVersion(0x00020000, 0x00050007));
  EXPECT_FALSE(DemoExecutableWithVersion(test::Bytes("MZ not a program"), {1, 3, 0, 0}, &exe));
}

// The patcher, the restore tool and qlmk read the version of a game folder the same way.
TEST(VersionGates, GameVersionOfFolderFindsTheExecutableWhateverItsCase) {
  test::TempDir dir;
  const std::string game = dir.path().string();
  EXPECT_EQ(GameVersionOfFolder(game), 0.0f);  // no executable
  std::vector<uint8_t> exe;
  ASSERT_TRUE(DemoExecutableWithVersion(DemoGameExecutable(), {1, 2, 0, 0}, &exe));
  test::WriteFileBytes(game + "/Heroes4.exe", exe);
  EXPECT_EQ(GameVersionOfFolder(game), 1.2f);
  EXPECT_EQ(GameVersionOfFolder(game + "/"), 1.2f);
  test::WriteFileText(game + "/Heroes4.exe", "MZ not a program");
  EXPECT_EQ(GameVersionOfFolder(game), 0.0f);
}

TEST(TargetArchive, UpdatesWhenPresentElseTheBaseArchive) {
  test::TempDir dir;
  const std::string game = dir.path().string() + "/";
  std::filesystem::create_directory(dir.path() / "Data");
  const std::string none = TargetArchiveForGame(game);  // built without a test
  test::WriteFileText(none, "x");
  EXPECT_TRUE(SameFile(none, game + "Data/HEROES4.H4R")) << none;
  std::filesystem::remove(none);
  test::WriteFileText(game + "Data/heroes4.h4r", "x");
  EXPECT_TRUE(SameFile(TargetArchiveForGame(game), game + "Data/heroes4.h4r"));
  test::WriteFileText(game + "Data/UPDATES.H4R", "x");
  EXPECT_TRUE(SameFile(TargetArchiveForGame(game), game + "Data/UPDATES.H4R"));
}

}  // namespace
}  // namespace qm
