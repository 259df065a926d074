#include <gtest/gtest.h>

#include "archive/h4r_reader.h"
#include "tests/archive_fixture.h"

namespace qm::test {
namespace {

using ArchiveReader = ArchiveFileTest;

TEST_F(ArchiveReader, MagicMustEndInFive) {
  std::vector<uint8_t> bytes = BuildArchive({GzipEntry("a.h4d", Bytes("x"))});
  Write(bytes);
  EXPECT_EQ(Load(path_, "a.h4d"), Bytes("x"));
  for (uint8_t wrong : {0x00, 0x04, 0x06, 0xFF}) {
    bytes[3] = wrong;
    Write(bytes);
    EXPECT_FALSE(Load(path_, "a.h4d")) << int(wrong);
  }
  Write({'H', '4', 'R'});
  EXPECT_FALSE(Load(path_, "a.h4d"));
  EXPECT_FALSE(Load(dir_.File("missing.h4r"), "a.h4d"));
  Archive a;
  EXPECT_FALSE(Archive::Open("", Archive::Access::kRead, &a));
}

TEST_F(ArchiveReader, PrefixMatchWithoutCaseEarliestRecordWins) {
  Write(BuildArchive({GzipEntry("TABLE.HEROES.H4D.old", Bytes("first")), GzipEntry("table.heroes.h4d", Bytes("second")),
                      GzipEntry("layers.icons.hero.life.82.h4d", Bytes("life"))}));
  EXPECT_EQ(Load(path_, "table.heroes.h4d"), Bytes("first"));
  EXPECT_EQ(Load(path_, "Table.Heroes"), Bytes("first"));
  EXPECT_EQ(Load(path_, "LAYERS.icons.hero.life.82.h4d"), Bytes("life"));
  EXPECT_FALSE(Load(path_, "table.heroes.h4d.old.more"));
  EXPECT_FALSE(Load(path_, ""));

  Archive a;
  ASSERT_TRUE(Archive::Open(path_, Archive::Access::kRead, &a));
  FoundEntry found;
  ASSERT_TRUE(a.FindEntry("layers", &found));
  // The third record starts after the count and the first two records.
  const uint32_t first = 26 + 20, second = 26 + 16;
  EXPECT_EQ(found.record_position, ReadDir(path_).offset + 4u + first + second);
}

TEST_F(ArchiveReader, ContentHasExactlyContentSizeBytes) {
  const std::vector<uint8_t> text = Bytes("hello, heroes");
  const std::vector<uint8_t> big = RandomBytes(3 * kWorkingBufferSize + 17, 7);
  Write(BuildArchive({GzipEntry("text", text), RawEntry("raw", Bytes(std::string("raw\0bytes", 9))), GzipEntry("big", big),
                      GzipEntry("empty", {})}));
  EXPECT_EQ(Load(path_, "text"), text);
  EXPECT_EQ(Load(path_, "raw"), Bytes(std::string("raw\0bytes", 9)));
  EXPECT_EQ(Load(path_, "big"), big);
  EXPECT_EQ(Load(path_, "empty"), std::vector<uint8_t>{});
}

TEST_F(ArchiveReader, DirectoryBeforePayloadsReadsTheSame) {
  const std::vector<BuiltEntry> entries = {GzipEntry("one", Bytes("1111")), RawEntry("two", Bytes("22")),
                                           GzipEntry("three", RandomBytes(5000, 3))};
  for (DirectoryPlace place : {DirectoryPlace::kFirst, DirectoryPlace::kLast}) {
    Write(BuildArchive(entries, place, /*dead=*/37));
    EXPECT_EQ(Load(path_, "one"), Bytes("1111"));
    EXPECT_EQ(Load(path_, "two"), Bytes("22"));
    EXPECT_EQ(Load(path_, "three"), RandomBytes(5000, 3));
  }
}

TEST_F(ArchiveReader, CountOfZeroOrTwentyThousandHoldsNothing) {
  const std::vector<BuiltEntry> entries = {GzipEntry("a", Bytes("a"))};
  for (uint32_t count : {0u, kEntryCountLimit, kEntryCountLimit + 1, 0x80000000u}) {
    Write(BuildArchive(entries, DirectoryPlace::kLast, 0, count));
    EXPECT_FALSE(Load(path_, "a")) << count;
    Archive a;
    ASSERT_TRUE(Archive::Open(path_, Archive::Access::kRead, &a));
    EXPECT_EQ(a.DirectorySize(), 0u);
  }
  Write(BuildArchive(entries, DirectoryPlace::kLast, 0, 1));
  Archive a;
  ASSERT_TRUE(Archive::Open(path_, Archive::Access::kRead, &a));
  EXPECT_EQ(a.DirectorySize(), 4u + 26u + 1u);
}

// The game's own raw entries: trailing word 1 and the byte length in the stored size.
TEST_F(ArchiveReader, RawEntryWithNonzeroStoredSizeReadsAsIs) {
  BuiltEntry raw = RawEntry("raw.h4d", Bytes("plain bytes, not gzip"));
  raw.stored_size = static_cast<uint32_t>(raw.payload.size());
  Write(BuildArchive({raw}));
  EXPECT_EQ(Load(path_, "raw.h4d"), Bytes("plain bytes, not gzip"));
}

TEST_F(ArchiveReader, ShortGzipLeavesTheRestZeroFilled) {
  BuiltEntry e = GzipEntry("e", Bytes("abcdef"));
  e.content_size = 10;  // the stream holds only 6 bytes
  BuiltEntry cut = GzipEntry("cut", RandomBytes(4000, 9));
  cut.payload.resize(cut.payload.size() / 2);  // the stream stops half-way
  cut.stored_size = static_cast<uint32_t>(cut.payload.size());
  Write(BuildArchive({e, cut}));
  EXPECT_EQ(Load(path_, "e"), Bytes(std::string("abcdef\0\0\0\0", 10)));
  const std::optional<std::vector<uint8_t>> half = Load(path_, "cut");
  ASSERT_TRUE(half);
  ASSERT_EQ(half->size(), 4000u);
  const std::vector<uint8_t> full = RandomBytes(4000, 9);
  EXPECT_EQ(half->back(), 0);
  EXPECT_TRUE(std::equal(half->begin(), half->begin() + 1000, full.begin()));
}

TEST_F(ArchiveReader, CorruptGzipFails) {
  BuiltEntry e = GzipEntry("e", RandomBytes(3000, 1));
  for (size_t i = 10; i < e.payload.size(); i += 97) e.payload[i] ^= 0x5A;
  Write(BuildArchive({e}));
  EXPECT_FALSE(Load(path_, "e"));
}

TEST_F(ArchiveReader, StringsOverTwoHundredFiftyNineBytesMakeTheArchiveUnreadable) {
  BuiltEntry ok = GzipEntry("ok", Bytes("ok"));
  ok.second = std::string(kMaxStringLength, 's');
  Write(BuildArchive({ok}));
  EXPECT_EQ(Load(path_, "ok"), Bytes("ok"));

  for (int field = 0; field < 3; ++field) {
    BuiltEntry e = GzipEntry("first", Bytes("x"));
    std::string* s[] = {&e.name, &e.second, &e.third};
    *s[field] = "first" + std::string(kMaxStringLength, 'n');
    Write(BuildArchive({GzipEntry("before", Bytes("b")), e}));
    EXPECT_FALSE(Load(path_, "first")) << field;
  }
}

TEST_F(ArchiveReader, OffsetsAndSizesBeyondTheFileAreRefused) {
  const std::vector<uint8_t> good = BuildArchive({GzipEntry("a", Bytes("aaaa")), RawEntry("r", Bytes("rrrr"))});
  const uint32_t dir = LoadU32(good.data() + 4);
  auto patched = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    StoreU32(bytes.data() + at, value);
    return Write(bytes);
  };
  const size_t first = dir + 4, second = first + 27;
  patched(4, static_cast<uint32_t>(good.size()));  // directory offset at the very end
  EXPECT_FALSE(Load(path_, "a"));
  patched(dir, 19999);  // count far beyond the records present
  EXPECT_FALSE(Load(path_, "zzz"));
  patched(first, 0xFFFFFF00u);  // data offset
  EXPECT_FALSE(Load(path_, "a"));
  patched(first + 4, 0x7FFFFFFFu);  // stored size
  EXPECT_FALSE(Load(path_, "a"));
  patched(first + 8, 0xFFFFFFFFu);  // content size far beyond what the payload can hold
  EXPECT_FALSE(Load(path_, "a"));
  patched(second + 8, 0x40000000u);  // raw content size beyond the file
  EXPECT_FALSE(Load(path_, "r"));
  EXPECT_EQ(Load(path_, "a"), Bytes("aaaa"));
}

TEST_F(ArchiveReader, GzipMembersFollowEachOtherAndTrailingBytesAreIgnored) {
  BuiltEntry two = GzipEntry("two", Bytes("front-"));
  const BuiltEntry back = GzipEntry("x", Bytes("back"));
  two.payload.insert(two.payload.end(), back.payload.begin(), back.payload.end());
  two.payload.insert(two.payload.end(), {'j', 'u', 'n', 'k'});
  two.stored_size = static_cast<uint32_t>(two.payload.size());
  two.content_size = 10;
  Write(BuildArchive({two}));
  EXPECT_EQ(Load(path_, "two"), Bytes("front-back"));
}

// A directory a few times the size of the window the reader reads it through, with records of
// many sizes, so that records straddle the window's edges at many offsets: it reads whole, the
// last entry is found, and a fault beyond the first window is reported for what it is.
TEST_F(ArchiveReader, DirectoryLargerThanTheReadWindow) {
  std::vector<BuiltEntry> entries;
  for (size_t i = 0; i < 700; ++i) {
    BuiltEntry e = RawEntry("entry." + std::to_string(i), Bytes("c"));
    e.second = std::string(i * 37 % (kMaxStringLength + 1), 's');
    e.third = std::string(i * 11 % 60, 't');
    entries.push_back(std::move(e));
  }
  for (const DirectoryPlace place : {DirectoryPlace::kFirst, DirectoryPlace::kLast}) {
    const std::vector<uint8_t> bytes = BuildArchive(entries, place);
    Write(bytes);
    const Directory d = ReadDir(path_);
    ASSERT_EQ(d.entries.size(), entries.size());
    ASSERT_GT(d.Size(), 2u * 65536u);
    uint64_t at = d.offset + 4u;
    for (size_t i = 0; i < entries.size(); ++i) {
      const EntryRecord& r = d.entries[i].record;
      EXPECT_EQ(d.entries[i].record_position, at) << i;
      EXPECT_EQ(r.name, entries[i].name);
      EXPECT_EQ(r.second, entries[i].second);
      EXPECT_EQ(r.third, entries[i].third);
      EXPECT_EQ(r.trailing_word, kTrailingWordRaw);
      at += r.DiskSize();
    }
    EXPECT_EQ(Load(path_, "entry.699"), Bytes("c"));

    // The second string of record 600 claims 300 bytes.
    const FoundEntry& late = d.entries[600];
    ASSERT_GT(late.record_position, d.offset + 65536u);
    std::vector<uint8_t> long_string = bytes;
    StoreU16(long_string.data() + late.record_position + 18 + late.record.name.size(), 300);
    Write(long_string);
    Archive a;
    ASSERT_TRUE(Archive::Open(path_, Archive::Access::kRead, &a));
    Directory broken;
    const Status s = a.ReadDirectory(&broken);
    EXPECT_NE(s.why().find("string of 300 bytes"), std::string::npos) << s.why();
    EXPECT_TRUE(broken.entries.empty());
    EXPECT_EQ(Load(path_, "entry.5"), Bytes("c"));  // found before the damage
  }
  // Cut inside the last record, and inside its trailing word.
  for (const size_t cut : {size_t{1}, size_t{5}, size_t{20}}) {
    std::vector<uint8_t> bytes = BuildArchive(entries, DirectoryPlace::kLast);
    bytes.resize(bytes.size() - cut);
    Write(bytes);
    Archive a;
    ASSERT_TRUE(Archive::Open(path_, Archive::Access::kRead, &a));
    Directory d;
    const Status s = a.ReadDirectory(&d);
    EXPECT_EQ(s.why(), "the directory runs past the end of the file") << cut;
    EXPECT_FALSE(Load(path_, "entry.699")) << cut;
    EXPECT_EQ(Load(path_, "entry.698"), Bytes("c")) << cut;
  }
}

}  // namespace
}  // namespace qm::test
