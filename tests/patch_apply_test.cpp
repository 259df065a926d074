// Applying a patcher's payload to another game: the 100-slot walk, the kinds, the refusals of
// untrusted payloads, and interruptions at every step.
#include <gtest/gtest.h>

#include "archive/entry_compressor.h"
#include "archive/h4r_format.h"
#include "archive/payload.h"
#include "base/os.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "patcher/patch_apply.h"
#include "shell/make_sfx.h"
#include "tests/archive_builder.h"
#include "tests/sharing_util.h"

namespace qm {
namespace {

using test::Bytes;

class PatchApply : public ::testing::Test {
 protected:
  void SetUp() override {
    // The patch: hero 3 renamed and one pixel of its large face changed.
    HeroCatalogue source = test::LoadCatalogue(test::MakeGame(dir_, "source", 5));
    ASSERT_TRUE(source.SetName(3, "Renamed Hero"));
    std::vector<uint8_t> face = source.record(3).large_face;
    face.back() ^= 1;
    ASSERT_TRUE(source.ReplaceFace(3, FaceKind::kLarge, face));
    ASSERT_TRUE(BuildPatcher(&source, test::RandomBytes(3000, 5), patcher_));
    patched_ = source;
    updates_ = GamePathsForFolder(game_).working_archive;
    original_updates_ = test::ReadFileBytes(updates_);
  }
  void TearDown() override { fault::Reset(); }

  // A stub of our own with the given entries appended as they are.
  std::string CustomPatcher(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& blobs) {
    const std::string exe = dir_.File("custom.exe");
    test::WriteFileBytes(exe, test::RandomBytes(1000, 9));
    for (const auto& [name, blob] : blobs) {
      const Status s = AppendPayloadEntry(exe, name, blob, 0);
      EXPECT_TRUE(s.ok()) << s.why();
    }
    return exe;
  }

  test::TempDir dir_;
  std::string patcher_ = dir_.File("QLMKSFX.EXE");
  std::string game_ = test::MakeGame(dir_, "game", 5);
  std::string updates_;
  std::vector<uint8_t> original_updates_;
  HeroCatalogue patched_;
};

TEST_F(PatchApply, TextPutsOnlyTheTableAndPortraitsOnlyTheBundles) {
  ASSERT_EQ(TargetArchiveForGame(game_), updates_);
  ApplyReport report;
  ASSERT_TRUE(ApplyPatch(patcher_, game_, updates_, UpdateKind::kText, &report));
  EXPECT_EQ(report.slots_walked, kPayloadSlotCount);
  EXPECT_EQ(report.entries_put, std::vector<std::string>{kHeroTableEntryName});
  EXPECT_EQ(test::ReadDir(updates_).entries.size(), 2u);  // the game's own entry and the table
  HeroCatalogue after = test::LoadCatalogue(game_);
  EXPECT_EQ(after.record(3).name, "Renamed Hero");
  EXPECT_NE(after.record(3).large_face, patched_.record(3).large_face);

  ASSERT_TRUE(ApplyPatch(patcher_, game_, updates_, UpdateKind::kPortraits, &report));
  EXPECT_EQ(report.entries_put.size(), 12u);
  EXPECT_TRUE(report.puts_failed.empty());
  EXPECT_EQ(test::ReadDir(updates_).entries.size(), 14u);
  for (const FoundEntry& e : test::ReadDir(updates_).entries) {
    if (e.record.name != "table.spells.h4d") {
      EXPECT_EQ(e.record.trailing_word, kTrailingWordGzip) << e.record.name;
    }
  }
  after = test::LoadCatalogue(game_);
  ASSERT_EQ(after.count(), patched_.count());
  for (size_t i = 0; i < after.count(); ++i) {
    EXPECT_EQ(after.record(i).name, patched_.record(i).name) << i;
    EXPECT_EQ(after.record(i).large_face, patched_.record(i).large_face) << i;
    EXPECT_EQ(after.record(i).small_face, patched_.record(i).small_face) << i;
  }
  EXPECT_TRUE(test::Load(updates_, "table.spells.h4d").has_value());
}

// The same payload applied again writes no entry again: only a new directory, whose space the
// next application takes again.
TEST_F(PatchApply, ApplyingAgainWritesNoEntryAgain) {
  ASSERT_TRUE(ApplyPatch(patcher_, game_, updates_, UpdateKind::kPortraits));
  ASSERT_TRUE(ApplyPatch(patcher_, game_, updates_, UpdateKind::kText));
  const Directory before = test::ReadDir(updates_);
  const size_t size = test::ReadFileBytes(updates_).size();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ApplyPatch(patcher_, game_, updates_, UpdateKind::kPortraits));
    ASSERT_TRUE(ApplyPatch(patcher_, game_, updates_, UpdateKind::kText));
  }
  EXPECT_LE(test::ReadFileBytes(updates_).size(), size + 2 * before.Size());
  const Directory after = test::ReadDir(updates_);
  ASSERT_EQ(after.entries.size(), before.entries.size());
  for (size_t i = 0; i < after.entries.size(); ++i) {
    EXPECT_EQ(after.entries[i].record.data_offset, before.entries[i].record.data_offset);
  }
}

TEST_F(PatchApply, WorksOnTheBaseArchiveWhenThereIsNoUpdateArchive) {
  ASSERT_TRUE(os::RemoveFile(updates_));
  const std::string target = TargetArchiveForGame(game_);
  EXPECT_EQ(target, GamePathsForFolder(game_).base_archive);
  ASSERT_TRUE(ApplyPatch(patcher_, game_, target, UpdateKind::kPortraits));
  EXPECT_EQ(test::LoadCatalogue(game_).record(3).large_face, patched_.record(3).large_face);
}

TEST_F(PatchApply, PlainFilesAreWrittenOnceAndNeverOverwritten) {
  test::WriteFileText(game_ + "layers.keep.txt", "the player's own");
  const std::vector<uint8_t> big = test::RandomBytes(kWorkingBufferSize + 12345, 3);
  const std::string exe = CustomPatcher({{"layers.readme.txt", Bytes("hello")},
                                         {"layers.keep.txt", Bytes("replacement")},
                                         {"layers.big.bin", big},
                                         {"table.notes.txt", Bytes("text kind")}});
  ApplyReport report;
  ASSERT_TRUE(ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits, &report));
  EXPECT_EQ(test::ReadFileBytes(game_ + "layers.readme.txt"), Bytes("hello"));
  EXPECT_EQ(test::ReadFileBytes(game_ + "layers.keep.txt"), Bytes("the player's own"));
  EXPECT_EQ(test::ReadFileBytes(game_ + "layers.big.bin"), big);
  EXPECT_FALSE(os::FileExists(game_ + "table.notes.txt"));
  EXPECT_EQ(report.files_written.size(), 2u);
  EXPECT_EQ(report.files_kept.size(), 1u);
  EXPECT_EQ(test::ReadFileBytes(updates_), original_updates_);
  EXPECT_TRUE(test::TempFilesIn(game_).empty());
}

TEST_F(PatchApply, EntriesLargerThanTheWorkingBufferArePut) {
  const std::vector<uint8_t> content = test::RandomBytes(3 * kWorkingBufferSize, 4);
  std::vector<uint8_t> gzip;
  ASSERT_TRUE(CompressEntry(content, &gzip));
  ASSERT_GT(gzip.size(), kWorkingBufferSize);
  const std::string exe = dir_.File("big.exe");
  test::WriteFileBytes(exe, Bytes("MZ"));
  ASSERT_TRUE(AppendPayloadEntry(exe, "layers.huge.h4d", gzip, static_cast<uint32_t>(content.size())));
  ASSERT_TRUE(ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits));
  EXPECT_EQ(test::Load(updates_, "layers.huge.h4d"), content);
}

TEST_F(PatchApply, AFailedPutDoesNotStopTheWalkButFailsTheUpdate) {
  // A record of stored size 0 cannot be put; the entries after it still are.
  const std::string exe = CustomPatcher({{"layers.empty.h4d", {}}, {"layers.next.h4d", Bytes("raw bytes")}});
  ApplyReport report;
  const Status s = ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits, &report);
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(report.slots_walked, kPayloadSlotCount);
  ASSERT_EQ(report.puts_failed.size(), 1u);
  EXPECT_EQ(report.entries_put, std::vector<std::string>{"layers.next.h4d"});
}

TEST_F(PatchApply, UntrustedNamesAndBlobsFailBeforeAnythingIsWritten) {
  for (const char* bad : {"layers.x/../../escaped.txt", "layers.\\..\\..\\escaped.txt", "layers.a:stream",
                          "layers.d\\..\\..\\escaped.txt", "layers.d/... /escaped.txt"}) {
    const std::string exe = CustomPatcher({{"layers.good.h4d", Bytes("fine")}, {bad, Bytes("evil")}});
    EXPECT_FALSE(ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits)) << bad;
    EXPECT_EQ(test::ReadFileBytes(updates_), original_updates_) << bad;
    EXPECT_FALSE(os::FileExists(dir_.File("escaped.txt"))) << bad;
  }
  // A record of the other kind is not looked at.
  EXPECT_TRUE(ApplyPatch(CustomPatcher({{"table.x/../../escaped.txt", Bytes("evil")}}), game_, updates_,
                         UpdateKind::kPortraits));

  // Blobs past the end of the file, over the trailer or inside the directory.
  const std::string exe = CustomPatcher({{"layers.a.h4d", Bytes("aaaa")}, {"layers.b.txt", Bytes("bbbb")}});
  const std::vector<uint8_t> good = test::ReadFileBytes(exe);
  const size_t d = 1000;
  for (const auto& [slot, field, value] : std::vector<std::tuple<size_t, size_t, uint32_t>>{
           {0, 4, 0x40000000},                                     // size far past the end
           {1, 4, 9},                                              // into the trailer
           {0, 0, static_cast<uint32_t>(d + 96)},                  // inside the directory
           {1, 0, static_cast<uint32_t>(good.size() + 100)}}) {    // starts past the end
    std::vector<uint8_t> bytes = good;
    StoreU32(bytes.data() + d + slot * kPayloadSlotSize + field, value);
    test::WriteFileBytes(exe, bytes);
    EXPECT_FALSE(ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits)) << slot << " " << value;
    EXPECT_EQ(test::ReadFileBytes(updates_), original_updates_);
    EXPECT_FALSE(os::FileExists(game_ + "layers.b.txt"));
  }

  // A stub without a payload.
  const std::string bare = dir_.File("bare.exe");
  test::WriteFileBytes(bare, test::RandomBytes(2000, 1));
  EXPECT_FALSE(ApplyPatch(bare, game_, updates_, UpdateKind::kText));
  EXPECT_FALSE(ApplyPatch(dir_.File("missing.exe"), game_, updates_, UpdateKind::kText));
  EXPECT_EQ(test::ReadFileBytes(updates_), original_updates_);
}

TEST_F(PatchApply, InterruptedApplyLeavesEveryEntryOldOrNew) {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> bundles;
  for (uint8_t a = 1; a <= kAlignmentCount; ++a) {
    for (FaceKind kind : {FaceKind::kSmall, FaceKind::kLarge}) {
      std::vector<uint8_t> content;
      patched_.CollectBundle(a, kind, &content);
      bundles.push_back({BundleEntryName(a, kind), content});
    }
  }
  const std::string base = GamePathsForFolder(game_).base_archive;
  const std::vector<uint8_t> spells = *test::Load(updates_, "table.spells.h4d");
  const unsigned long steps = test::FailEveryStep(
      [&] { test::WriteFileBytes(updates_, original_updates_); },
      [&] { return ApplyPatch(patcher_, game_, updates_, UpdateKind::kPortraits); },
      [&](const Status& s, bool interrupted, unsigned long k) {
        EXPECT_EQ(s.ok(), !interrupted) << "interruption " << k;
        EXPECT_EQ(test::Load(updates_, "table.spells.h4d"), spells) << k;
        size_t fresh = 0;
        for (const auto& [name, content] : bundles) {
          const std::optional<std::vector<uint8_t>> now = test::Load(updates_, name);
          if (now) {
            EXPECT_EQ(*now, content) << name << " after interruption " << k;
            ++fresh;
          }
        }
        // The twelve go in together or not at all.
        EXPECT_TRUE(fresh == 0 || fresh == bundles.size()) << fresh << " after interruption " << k;
        if (!interrupted) {
          EXPECT_EQ(fresh, bundles.size());
        }
      });
  EXPECT_GE(steps, 12u);
}

// A crafted patch whose entry blob is larger than the patcher can hold (here 300 MB of a sparse
// file) fails before anything is written, instead of ending the 32-bit patcher in an allocation
// failure.
TEST_F(PatchApply, AnEntryTooLargeToHoldFailsWithNothingWritten) {
  const std::string exe = dir_.File("huge.exe");
  const uint32_t stub = 1000, blob = 300u << 20;
  std::vector<uint8_t> head = test::RandomBytes(stub, 9);
  head.resize(stub + kPayloadDirectorySize, 0);
  StoreU32(head.data() + stub, stub + static_cast<uint32_t>(kPayloadDirectorySize));
  StoreU32(head.data() + stub + 4, blob);
  StoreU32(head.data() + stub + 8, 1000);
  const std::string name = "layers.icons.hero.life.82.h4d";
  std::copy(name.begin(), name.end(), head.begin() + stub + 12);
  uint8_t trailer[kPayloadTrailerSize] = {'Z', 'V', 'R', 'T'};
  StoreU32(trailer + 4, stub);
  {
    File f = File::Open(exe, File::Mode::kCreate);
    ASSERT_TRUE(f.Write(head.data(), head.size()));
    ASSERT_TRUE(f.Seek(head.size() + blob));  // the blob is a hole: no disk space needed
    ASSERT_TRUE(f.Write(trailer, sizeof trailer));
    ASSERT_TRUE(f.Close());
  }
  const Status s = ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits);
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.why().find("larger than"), std::string::npos) << s.why();
  EXPECT_EQ(test::ReadFileBytes(updates_), original_updates_);
  os::RemoveFile(exe);
}

TEST_F(PatchApply, InterruptedPlainFileIsWholeOrAbsent) {
  const std::vector<uint8_t> content = test::RandomBytes(100000, 8);
  const std::string exe = CustomPatcher({{"layers.file.bin", content}});
  const std::string path = game_ + "layers.file.bin";
  test::FailEveryStep(
      [&] { os::RemoveFile(path); },
      [&] { return ApplyPatch(exe, game_, updates_, UpdateKind::kPortraits); },
      [&](const Status& s, bool interrupted, unsigned long k) {
        EXPECT_EQ(s.ok(), !interrupted) << k;
        if (os::FileExists(path)) {
          EXPECT_EQ(test::ReadFileBytes(path), content) << k;
        }
        if (!interrupted) {
          EXPECT_TRUE(os::FileExists(path));
        }
        EXPECT_TRUE(test::TempFilesIn(game_).empty()) << k;
      });
}

}  // namespace
}  // namespace qm
