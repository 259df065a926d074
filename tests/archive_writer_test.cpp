#include <gtest/gtest.h>

#include <ctime>

#include "archive/h4r_writer.h"
#include "base/os.h"
#include "tests/archive_fixture.h"

namespace qm::test {
namespace {

class ArchiveWriter : public ArchiveFileTest {
 protected:
  std::vector<uint8_t> Bytes_() { return ReadFileBytes(path_); }
  const EntryRecord* Record(const Directory& d, const std::string& name) {
    for (const FoundEntry& e : d.entries)
      if (e.record.name == name) return &e.record;
    return nullptr;
  }
};

TEST_F(ArchiveWriter, PutIntoAnEmptyArchiveGivesOneRecord) {
  ASSERT_TRUE(CreateArchive(path_));
  EXPECT_EQ(Bytes_(), (std::vector<uint8_t>{'H', '4', 'R', 5, 8, 0, 0, 0, 0, 0, 0, 0}));
  const uint32_t before = static_cast<uint32_t>(std::time(nullptr));
  ASSERT_TRUE(PutEntry(path_, "table.heroes.h4d", Bytes("the table")));
  const Directory d = ReadDir(path_);
  ASSERT_EQ(d.count, 1u);
  const EntryRecord& r = d.entries[0].record;
  EXPECT_EQ(r.name, "table.heroes.h4d");
  EXPECT_EQ(r.data_offset, 12u);
  EXPECT_EQ(r.content_size, 9u);
  EXPECT_EQ(r.trailing_word, 3u);
  EXPECT_TRUE(r.second.empty() && r.third.empty());
  EXPECT_GE(r.time_stamp, before);
  EXPECT_EQ(d.offset, 12u + r.stored_size);
  EXPECT_EQ(Bytes_().size(), 12u + r.stored_size + 4 + 26 + 16);
  EXPECT_EQ(Load(path_, "table.heroes.h4d"), Bytes("the table"));
}

TEST_F(ArchiveWriter, AddWritesPayloadAndNewDirectoryAtTheEnd) {
  Write(BuildArchive({GzipEntry("one", Bytes("1")), GzipEntry("two", Bytes("22")), RawEntry("three", Bytes("333"))}));
  const std::vector<uint8_t> before = Bytes_();
  const Directory old = ReadDir(path_);
  const BuiltEntry payload = GzipEntry("x", Bytes("four!"));
  ASSERT_TRUE(PutStoredEntry(path_, "four", payload.payload, 5, 7));

  const std::vector<uint8_t> after = Bytes_();
  const size_t grown = payload.payload.size() + old.Size() + 26 + 4;
  ASSERT_EQ(after.size(), before.size() + grown);
  EXPECT_TRUE(std::equal(before.begin() + 8, before.end(), after.begin() + 8));  // nothing moved
  const Directory d = ReadDir(path_);
  EXPECT_EQ(d.offset, before.size() + payload.payload.size());
  ASSERT_EQ(d.count, 4u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(d.entries[i].record.name, old.entries[i].record.name);
  EXPECT_EQ(d.entries[3].record.data_offset, before.size());
  EXPECT_EQ(d.entries[3].record.trailing_word, 7u);
  EXPECT_EQ(Load(path_, "four"), Bytes("four!"));
  EXPECT_EQ(Load(path_, "three"), Bytes("333"));
}

// Whatever its size, a changed payload goes where nothing lives (here, a compact archive: past
// the end), with a complete new directory after it; the record keeps its name and strings.
TEST_F(ArchiveWriter, ReplaceWritesThePayloadAndANewDirectoryWhereNothingLives) {
  BuiltEntry target = GzipEntry("portrait", RandomBytes(800, 1));
  target.second = "kept second";
  target.third = "kept third";
  const std::vector<uint8_t> original =
      BuildArchive({GzipEntry("before", Bytes("b")), target, GzipEntry("after", Bytes("a"))});
  Write(original);
  const Directory old = ReadDir(path_);
  // Random content does not compress: the payload size follows the content size.
  for (const size_t content : {800u, 300u, 5000u}) {
    Write(original);
    const BuiltEntry next = GzipEntry("x", RandomBytes(content, 2));
    ASSERT_TRUE(PutStoredEntry(path_, "PORTRAIT", next.payload, next.content_size)) << content;
    const std::vector<uint8_t> after = Bytes_();
    EXPECT_TRUE(std::equal(original.begin() + 8, original.end(), after.begin() + 8)) << "nothing in use changed";
    EXPECT_EQ(after.size(), original.size() + next.payload.size() + old.Size()) << content;
    const Directory d = ReadDir(path_);
    ASSERT_EQ(d.count, 3u);
    EXPECT_EQ(d.offset, original.size() + next.payload.size());
    const EntryRecord& r = d.entries[1].record;
    EXPECT_EQ(r.name, "portrait");
    EXPECT_EQ(r.second, "kept second");
    EXPECT_EQ(r.third, "kept third");
    EXPECT_EQ(r.data_offset, original.size());
    EXPECT_EQ(Load(path_, "portrait"), RandomBytes(content, 2));
    EXPECT_EQ(d.entries[0].record.data_offset, old.entries[0].record.data_offset);
    EXPECT_EQ(Load(path_, "before"), Bytes("b"));
    EXPECT_EQ(Load(path_, "after"), Bytes("a"));
  }
}

// A save without changes writes no payload, only a new directory whose records carry the new
// time; the space of the directory before the last is taken again, so the file stops growing.
TEST_F(ArchiveWriter, UnchangedPayloadsAreNotWrittenAgainButRestamped) {
  Write(BuildArchive({GzipEntry("table.heroes.h4d", Bytes("rows")), GzipEntry("faces", Bytes("faces"))}));
  const Directory old = ReadDir(path_);
  const size_t size = Bytes_().size();
  const BuiltEntry rows = GzipEntry("x", Bytes("rows")), faces = GzipEntry("x", Bytes("faces"));
  const std::vector<StoredEntry> save = {{"table.heroes.h4d", rows.payload, rows.content_size},
                                         {"faces", faces.payload, faces.content_size}};
  const uint32_t now = static_cast<uint32_t>(std::time(nullptr));
  std::vector<size_t> sizes;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(PutStoredEntries(path_, save));
    sizes.push_back(Bytes_().size());
    const Directory d = ReadDir(path_);
    ASSERT_EQ(d.count, 2u);
    for (size_t e = 0; e < 2; ++e) {
      EXPECT_EQ(d.entries[e].record.data_offset, old.entries[e].record.data_offset);
      EXPECT_GE(d.entries[e].record.time_stamp, now);
    }
  }
  EXPECT_EQ(sizes[0], size + old.Size());
  EXPECT_EQ(sizes, std::vector<size_t>(4, sizes[0]));
  EXPECT_EQ(Load(path_, "faces"), Bytes("faces"));
}

// Space that puts left dead is filled by later ones: forty saves of a changed payload of
// the same size leave the file at most two payloads and two directories larger.
TEST_F(ArchiveWriter, DeadSpaceIsReused) {
  Write(BuildArchive({GzipEntry("table.heroes.h4d", Bytes("rows")), GzipEntry("face", RandomBytes(900, 0))}));
  const size_t size = Bytes_().size();
  const uint32_t directory = ReadDir(path_).Size();
  for (uint32_t i = 1; i <= 40; ++i) {
    const BuiltEntry face = GzipEntry("x", RandomBytes(900, i));
    ASSERT_TRUE(PutStoredEntry(path_, "face", face.payload, face.content_size));
    ASSERT_LE(Bytes_().size(), size + 2 * (face.payload.size() + directory)) << i;
  }
  EXPECT_EQ(Load(path_, "face"), RandomBytes(900, 40));
  EXPECT_EQ(Load(path_, "table.heroes.h4d"), Bytes("rows"));
}

TEST_F(ArchiveWriter, ContentsLargerThanTheWorkingBufferArePutWhole) {
  ASSERT_TRUE(CreateArchive(path_));
  const std::vector<uint8_t> big = RandomBytes(kWorkingBufferSize + kWorkingBufferSize / 2, 21);
  ASSERT_TRUE(PutEntry(path_, "big.h4d", big));
  EXPECT_EQ(Load(path_, "big.h4d"), big);
  const std::vector<uint8_t> bigger = RandomBytes(2 * kWorkingBufferSize + 3, 22);
  ASSERT_TRUE(PutEntry(path_, "big.h4d", bigger));
  EXPECT_EQ(Load(path_, "big.h4d"), bigger);
}

TEST_F(ArchiveWriter, FullDirectoryRefusesANewEntryAndStaysUnchanged) {
  std::vector<BuiltEntry> entries;
  for (uint32_t i = 0; i < kMaxEntryCount - 1; ++i) {
    std::string name = std::to_string(i);
    name += ".h4d";
    entries.push_back(RawEntry(name, {1}));
  }
  Write(BuildArchive(entries));
  ASSERT_TRUE(PutEntry(path_, "last.h4d", Bytes("fits")));  // 19,998 -> 19,999
  EXPECT_EQ(ReadDir(path_).count, kMaxEntryCount);
  const std::vector<uint8_t> full = Bytes_();
  EXPECT_FALSE(PutEntry(path_, "one.more", Bytes("no room")));
  EXPECT_EQ(Bytes_(), full);
  // Replacing still works in a full directory.
  EXPECT_TRUE(PutEntry(path_, "last.h4d", Bytes("fits")));
  EXPECT_EQ(Load(path_, "last.h4d"), Bytes("fits"));
}

TEST_F(ArchiveWriter, ReadOnlyArchiveIsMadeWritable) {
  ASSERT_TRUE(CreateArchive(path_));
  ASSERT_TRUE(os::SetReadOnly(path_));
  ASSERT_TRUE(os::IsReadOnly(path_));
  ASSERT_TRUE(PutEntry(path_, "a", Bytes("a")));
  EXPECT_FALSE(os::IsReadOnly(path_));
  EXPECT_EQ(Load(path_, "a"), Bytes("a"));
}

// A gzip payload over one of the game's raw entries must be marked gzip, or the game would read
// the stream as plain bytes; a raw payload keeps the raw mark.
TEST_F(ArchiveWriter, GzipOverARawEntryMarksItGzip) {
  BuiltEntry raw = RawEntry("raw.h4d", Bytes("plain"));
  raw.stored_size = 5;
  raw.second = "s";
  Write(BuildArchive({raw}));
  ASSERT_TRUE(PutStoredEntry(path_, "raw.h4d", Bytes("PLAIN"), 5));
  EXPECT_EQ(ReadDir(path_).entries[0].record.trailing_word, kTrailingWordRaw);
  EXPECT_EQ(Load(path_, "raw.h4d"), Bytes("PLAIN"));
  ASSERT_TRUE(PutEntry(path_, "raw.h4d", Bytes("now compressed")));
  const EntryRecord r = ReadDir(path_).entries[0].record;
  EXPECT_EQ(r.trailing_word, kTrailingWordGzip);
  EXPECT_EQ(r.second, "s");
  EXPECT_EQ(Load(path_, "raw.h4d"), Bytes("now compressed"));
}

TEST_F(ArchiveWriter, BadRequestsAndBadArchivesChangeNothing) {
  ASSERT_TRUE(CreateArchive(path_));
  ASSERT_TRUE(PutEntry(path_, "a", Bytes("a")));
  const std::vector<uint8_t> before = Bytes_();
  EXPECT_FALSE(PutEntry(path_, "", Bytes("x")));
  EXPECT_FALSE(PutStoredEntry(path_, "b", {}, 0));
  EXPECT_FALSE(PutEntry(path_, std::string(kMaxStringLength + 1, 'n'), Bytes("x")));
  EXPECT_EQ(Bytes_(), before);
  EXPECT_FALSE(PutEntry(dir_.File("missing.h4r"), "a", Bytes("x")));
  EXPECT_FALSE(os::FileExists(dir_.File("missing.h4r")));

  const std::string text = dir_.File("notes.txt");
  WriteFileText(text, "not an archive at all");
  EXPECT_FALSE(PutEntry(text, "a", Bytes("x")));
  EXPECT_EQ(ReadFileBytes(text), Bytes("not an archive at all"));
}

// A record whose payload claims the header's bytes must not be overwritten in place.
TEST_F(ArchiveWriter, ReplaceNeverOverwritesBytesThatAreNotTheEntrysOwn) {
  std::vector<uint8_t> bytes = BuildArchive({GzipEntry("victim", Bytes("v")), GzipEntry("evil", Bytes("e"))});
  const Directory d = [&] {
    Write(bytes);
    return ReadDir(path_);
  }();
  const uint64_t evil_record = d.entries[1].record_position;
  StoreU32(bytes.data() + evil_record, 0);                                    // data offset 0
  StoreU32(bytes.data() + evil_record + 4, static_cast<uint32_t>(bytes.size()));  // covers everything
  Write(bytes);
  ASSERT_TRUE(PutEntry(path_, "evil", Bytes("x")));
  EXPECT_EQ(Load(path_, "victim"), Bytes("v"));
  EXPECT_EQ(Load(path_, "evil"), Bytes("x"));
  EXPECT_EQ(ReadDir(path_).entries[1].record.data_offset, bytes.size());
}

}  // namespace
}  // namespace qm::test
