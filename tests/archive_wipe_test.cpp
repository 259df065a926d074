#include <gtest/gtest.h>

#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/os.h"
#include "base/path.h"
#include "tests/archive_fixture.h"

namespace qm::test {
namespace {

class ArchiveWipe : public ArchiveFileTest {
 protected:
  std::string holding_ = dir_.File("H4R.$$$");
};

TEST_F(ArchiveWipe, DeadSpaceGoesAndEveryEntryKeepsItsContent) {
  BuiltEntry kept = GzipEntry("kept", RandomBytes(1000, 4));
  kept.second = "two";
  kept.third = "three";
  kept.time_stamp = 123456;
  const BuiltEntry raw = RawEntry("raw", RandomBytes(777, 5));
  Write(BuildArchive({kept, raw}, DirectoryPlace::kLast, /*dead=*/5000));
  // Puts leave more dead space: a grown replace and two adds.
  ASSERT_TRUE(PutEntry(path_, "grown", Bytes("g")));
  ASSERT_TRUE(PutEntry(path_, "grown", RandomBytes(3000, 6)));
  ASSERT_TRUE(PutEntry(path_, "added", Bytes("added")));
  const Directory before = ReadDir(path_);

  ASSERT_TRUE(WipeArchive(path_));
  const Directory after = ReadDir(path_);
  uint64_t payloads = 0;
  for (const FoundEntry& e : before.entries) payloads += e.record.PayloadLength();
  EXPECT_EQ(ReadFileBytes(path_).size(), 8 + before.Size() + payloads);
  EXPECT_EQ(after.offset, 8u);
  ASSERT_EQ(after.count, before.count);
  uint64_t next = 8 + after.Size();
  for (size_t i = 0; i < after.entries.size(); ++i) {
    EntryRecord moved = before.entries[i].record;
    moved.data_offset = static_cast<uint32_t>(next);
    next += moved.PayloadLength();
    const EntryRecord& r = after.entries[i].record;
    EXPECT_EQ(r.data_offset, moved.data_offset);
    EXPECT_EQ(r.name, moved.name);
    EXPECT_EQ(r.second, moved.second);
    EXPECT_EQ(r.third, moved.third);
    EXPECT_EQ(r.time_stamp, moved.time_stamp);
    EXPECT_EQ(r.stored_size, moved.stored_size);
    EXPECT_EQ(r.content_size, moved.content_size);
    EXPECT_EQ(r.trailing_word, moved.trailing_word);
  }
  EXPECT_EQ(Load(path_, "kept"), RandomBytes(1000, 4));
  EXPECT_EQ(Load(path_, "raw"), RandomBytes(777, 5));
  EXPECT_EQ(Load(path_, "grown"), RandomBytes(3000, 6));
  EXPECT_EQ(Load(path_, "added"), Bytes("added"));
  EXPECT_FALSE(os::FileExists(holding_));
}

TEST_F(ArchiveWipe, EntriesLargerThanTheWorkingBufferAreCopiedInPieces) {
  const std::vector<uint8_t> big = RandomBytes(2 * kWorkingBufferSize + 1234, 8);
  Write(BuildArchive({RawEntry("small", Bytes("s")), RawEntry("big", big), GzipEntry("packed", big)},
                     DirectoryPlace::kLast, 99));
  ASSERT_TRUE(WipeArchive(path_));
  EXPECT_EQ(Load(path_, "big"), big);
  EXPECT_EQ(Load(path_, "packed"), big);
  EXPECT_EQ(Load(path_, "small"), Bytes("s"));
}

TEST_F(ArchiveWipe, EmptyDirectoryGivesTwelveBytes) {
  Write(BuildArchive({}, DirectoryPlace::kLast, 300));
  ASSERT_TRUE(WipeArchive(path_));
  EXPECT_EQ(ReadFileBytes(path_), (std::vector<uint8_t>{'H', '4', 'R', 5, 8, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(ArchiveWipe, FilesThatCannotBeWipedStayAsTheyWere) {
  const std::vector<std::vector<uint8_t>> bad = {
      Bytes("not an archive"),
      BuildArchive({GzipEntry("a", Bytes("a"))}, DirectoryPlace::kLast, 0, kEntryCountLimit),
      [] {  // a payload past the end of the file
        std::vector<uint8_t> b = BuildArchive({RawEntry("a", Bytes("aaaa"))}, DirectoryPlace::kFirst);
        StoreU32(b.data() + 8 + 4 + 8, 1000);  // raw content size
        return b;
      }(),
  };
  for (const std::vector<uint8_t>& bytes : bad) {
    Write(bytes);
    EXPECT_FALSE(WipeArchive(path_));
    EXPECT_EQ(ReadFileBytes(path_), bytes);
    EXPECT_FALSE(os::FileExists(holding_));
  }
  EXPECT_FALSE(WipeArchive(dir_.File("missing.h4r")));
  EXPECT_FALSE(WipeArchive(""));
}

TEST_F(ArchiveWipe, LeftoverHoldingFileIsReplacedAndReadOnlyArchiveComesOutWritable) {
  WriteFileText(holding_, "stale leftover");
  ASSERT_TRUE(os::SetReadOnly(holding_));
  Write(BuildArchive({GzipEntry("a", Bytes("a"))}, DirectoryPlace::kLast, 10));
  ASSERT_TRUE(os::SetReadOnly(path_));
  ASSERT_TRUE(WipeArchive(path_));
  EXPECT_FALSE(os::FileExists(holding_));
  EXPECT_FALSE(os::IsReadOnly(path_));
  EXPECT_EQ(Load(path_, "a"), Bytes("a"));
}

TEST_F(ArchiveWipe, HoldingFileLiesInTheArchivesFolder) {
  EXPECT_EQ(PathBeside("C:\\Games\\HOMM4\\DATA\\UPDATES.H4R", kWipeHoldingName), "C:\\Games\\HOMM4\\DATA\\H4R.$$$");
  EXPECT_EQ(PathBeside("data/UPDATES.H4R", kWipeHoldingName), "data/H4R.$$$");
  EXPECT_EQ(PathBeside("UPDATES.H4R", kWipeHoldingName), "H4R.$$$");
  EXPECT_EQ(FolderOf("a/b\\c/d"), "a/b");
  EXPECT_EQ(FolderOf("name"), "");
  // An archive named like the holding file would be deleted as a leftover.
  WriteFileBytes(holding_, BuildArchive({GzipEntry("a", Bytes("a"))}));
  EXPECT_FALSE(WipeArchive(holding_));
  EXPECT_EQ(Load(holding_, "a"), Bytes("a"));
}

TEST_F(ArchiveWipe, RebuildWritesACompactCopyAndLeavesTheSourceAlone) {
  const std::vector<uint8_t> source = BuildArchive({GzipEntry("a", Bytes("aa")), RawEntry("b", Bytes("b"))},
                                                   DirectoryPlace::kLast, 64);
  Write(source);
  const std::string copy = dir_.File("copy.h4r");
  ASSERT_TRUE(RebuildArchive(path_, copy));
  EXPECT_EQ(ReadFileBytes(path_), source);
  EXPECT_EQ(ReadFileBytes(copy).size(), source.size() - 64);
  EXPECT_EQ(Load(copy, "a"), Bytes("aa"));
  EXPECT_EQ(Load(copy, "b"), Bytes("b"));
}

}  // namespace
}  // namespace qm::test
