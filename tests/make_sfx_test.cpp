// MakeSFX: the patcher program with the hero table and the twelve bundles appended.
#include <gtest/gtest.h>

#include "archive/h4r_format.h"
#include "archive/payload.h"
#include "archive/payload_codec.h"
#include "base/os.h"
#include "heroes/hero_table.h"
#include "heroes/value_tables.h"
#include "shell/make_sfx.h"
#include "tests/archive_builder.h"
#include "tests/sharing_util.h"

namespace qm {
namespace {

class MakeSfx : public ::testing::Test {
 protected:
  void TearDown() override { fault::Reset(); }

  test::TempDir dir_;
  std::string game_ = test::MakeGame(dir_, "game", 5);
  HeroCatalogue catalogue_ = test::LoadCatalogue(game_);
  std::string exe_ = game_ + "QLMKSFX.EXE";
  std::vector<uint8_t> stub_ = test::RandomBytes(4000, 7);
};

std::vector<std::string> ExpectedNames() {
  std::vector<std::string> names = {kHeroTableEntryName};
  for (uint8_t a = 1; a <= kAlignmentCount; ++a) {
    names.push_back(BundleEntryName(a, FaceKind::kSmall));
    names.push_back(BundleEntryName(a, FaceKind::kLarge));
  }
  return names;
}

TEST_F(MakeSfx, StubThenThirteenCompressedEntriesInSlotOrder) {
  ASSERT_TRUE(BuildPatcher(&catalogue_, stub_, exe_));
  const std::vector<uint8_t> exe = test::ReadFileBytes(exe_);
  ASSERT_GT(exe.size(), stub_.size());
  EXPECT_TRUE(std::equal(stub_.begin(), stub_.end(), exe.begin()));

  PayloadReader r;
  ASSERT_TRUE(PayloadReader::Open(exe_, &r));
  EXPECT_EQ(r.directory_offset(), stub_.size());
  ASSERT_EQ(r.records().size(), kPatcherEntryCount);
  const std::vector<std::string> names = ExpectedNames();
  EXPECT_EQ(names[1], "layers.icons.hero.nature.52.h4d");
  EXPECT_EQ(names[12], "layers.icons.hero.might.82.h4d");
  size_t blobs = 0;
  for (size_t i = 0; i < kPatcherEntryCount; ++i) {
    const PayloadRecord& rec = r.records()[i];
    EXPECT_EQ(rec.slot, i);
    EXPECT_EQ(rec.name, names[i]);
    EXPECT_EQ(rec.data_offset, stub_.size() + kPayloadDirectorySize + blobs);
    blobs += rec.stored_size;
    std::vector<uint8_t> blob, content, expected;
    ASSERT_TRUE(r.ReadBlob(rec, &blob));
    EXPECT_TRUE(LooksLikeGzip(blob));
    ASSERT_TRUE(DecodeStoredPayload(blob, rec.content_size, &content));
    if (i == 0) {
      ASSERT_TRUE(SerializeHeroTable(catalogue_.records(), &expected));
    } else {
      catalogue_.CollectBundle(static_cast<uint8_t>((i + 1) / 2), i % 2 ? FaceKind::kSmall : FaceKind::kLarge,
                               &expected);
    }
    EXPECT_EQ(content, expected) << rec.name;
  }
  EXPECT_EQ(exe.size(), stub_.size() + kPayloadDirectorySize + blobs + kPayloadTrailerSize);
  EXPECT_TRUE(test::TempFilesIn(game_).empty());

  // A second build replaces the first rather than extending it (Windows cannot replace a file
  // that is still open).
  r = PayloadReader();
  ASSERT_TRUE(BuildPatcher(&catalogue_, stub_, exe_));
  EXPECT_EQ(test::ReadFileBytes(exe_), exe);
}

TEST_F(MakeSfx, DropsAnIncompleteLastRecordAtEachBuild) {
  const size_t count = catalogue_.count();
  ASSERT_TRUE(catalogue_.IsComplete(count - 1));
  ASSERT_TRUE(catalogue_.ReplaceFace(count - 1, FaceKind::kSmall, {}));
  ASSERT_TRUE(catalogue_.ReplaceFace(count - 2, FaceKind::kLarge, {}));
  ASSERT_TRUE(BuildPatcher(&catalogue_, stub_, exe_));
  EXPECT_EQ(catalogue_.count(), count - 1);
  ASSERT_TRUE(BuildPatcher(&catalogue_, stub_, exe_));
  EXPECT_EQ(catalogue_.count(), count - 2);
  ASSERT_TRUE(BuildPatcher(&catalogue_, stub_, exe_));
  EXPECT_EQ(catalogue_.count(), count - 2);  // the last record is complete now

  // The table in the patcher has the lower count.
  PayloadReader r;
  ASSERT_TRUE(PayloadReader::Open(exe_, &r));
  std::vector<uint8_t> blob, content, expected;
  ASSERT_TRUE(r.ReadBlob(r.records()[0], &blob));
  ASSERT_TRUE(DecodeStoredPayload(blob, r.records()[0].content_size, &content));
  ASSERT_TRUE(SerializeHeroTable(catalogue_.records(), &expected));
  EXPECT_EQ(content, expected);
}

TEST_F(MakeSfx, RefusesWhatCannotMakeAPatcherAndKeepsTheOldOne) {
  test::WriteFileText(exe_, "old patcher");
  EXPECT_FALSE(BuildPatcher(&catalogue_, {}, exe_));
  ASSERT_TRUE(BuildPatcher(&catalogue_, stub_, dir_.File("built.exe")));
  EXPECT_FALSE(BuildPatcher(&catalogue_, test::ReadFileBytes(dir_.File("built.exe")), exe_));  // not a bare stub
  HeroCatalogue empty;
  EXPECT_FALSE(BuildPatcher(&empty, stub_, exe_));  // no table rows
  EXPECT_FALSE(BuildPatcher(&catalogue_, stub_, dir_.File("no such folder/QLMKSFX.EXE")));
  EXPECT_EQ(test::ReadFileBytes(exe_), test::Bytes("old patcher"));
  EXPECT_TRUE(test::TempFilesIn(game_).empty());
}

TEST_F(MakeSfx, InterruptedBuildLeavesTheOldPatcherAndNoPartFile) {
  // An injected failure to delete the compressor's scratch file leaves it behind: keep those
  // in this test's folder.
  const std::string scratch = dir_.File("scratch");
  test::ScopedTempFolder temp_folder(scratch);
  const size_t count = catalogue_.count();
  const unsigned long steps = test::FailEveryStep(
      [&] { test::WriteFileText(exe_, "old patcher"); },
      [&] { return BuildPatcher(&catalogue_, stub_, exe_); },
      [&](const Status& s, bool interrupted, unsigned long k) {
        EXPECT_EQ(catalogue_.count(), count) << k;  // a complete last record is never dropped
        EXPECT_TRUE(test::TempFilesIn(game_).empty()) << k;
        if (!interrupted) {
          EXPECT_TRUE(s.ok()) << s.why();
          PayloadReader r;
          ASSERT_TRUE(PayloadReader::Open(exe_, &r));
          EXPECT_EQ(r.records().size(), kPatcherEntryCount);
          return;
        }
        const std::vector<uint8_t> now = test::ReadFileBytes(exe_);
        // The one interruption that may pass is the compressor failing to delete its scratch
        // file in the temp folder; the patcher is then complete.
        if (s.ok() || now != test::Bytes("old patcher")) {
          // Only the last step, making the replace durable, comes after the new file is in place.
          PayloadReader r;
          ASSERT_TRUE(PayloadReader::Open(exe_, &r)) << k;
          EXPECT_EQ(r.records().size(), kPatcherEntryCount) << k;
        }
      });
  EXPECT_GE(steps, 13u * 3);
}

}  // namespace
}  // namespace qm
