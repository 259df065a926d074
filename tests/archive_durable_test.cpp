// Batched puts and the flushes that keep puts and wipes safe from a power cut: a batch leaves
// the entries that separate puts leave; nothing the archive already uses changes before the new
// bytes are flushed; a failing flush or write anywhere in a batch fails it and leaves the whole
// old archive or the whole new one.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>

#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/file.h"
#include "base/os.h"
#include "tests/archive_fixture.h"

namespace qm::test {
namespace {

using Content = std::vector<uint8_t>;

constexpr unsigned kInterruptions = fault::kWrite | fault::kSeek | fault::kClose | fault::kFlush | fault::kRename;

std::vector<BuiltEntry> SampleEntries() {
  return {GzipEntry("table.heroes.h4d", Bytes("table rows")), RawEntry("raw.h4d", Bytes("raw!")),
          GzipEntry("layers.icons.hero.life.82.h4d", RandomBytes(1500, 21)),
          GzipEntry("layers.icons.hero.life.52.h4d", RandomBytes(900, 22))};
}

// A batch that does every kind of put: adds, replaces by larger and by smaller payloads, a
// replace of an entry the batch itself added, a raw entry turned gzip, and the same name twice.
struct Batch {
  std::vector<BuiltEntry> built = {
      GzipEntry("x", Bytes("new table rows")),  // table.heroes.h4d
      GzipEntry("x", Bytes("first new")),       // added
      GzipEntry("x", RandomBytes(3000, 23)),    // life.82 grown
      GzipEntry("x", Bytes("raw no more")),     // raw.h4d, marked gzip now
      GzipEntry("x", Bytes("second new")),      // added
      GzipEntry("x", RandomBytes(2500, 24)),    // first.h4d again, grown
      GzipEntry("x", Bytes("tiny")),            // life.52 smaller
  };
  std::vector<std::string> names = {"table.heroes.h4d", "first.h4d",  "layers.icons.hero.life.82",
                                    "raw.h4d",          "second.h4d", "first.h4d",
                                    "layers.icons.hero.life.52"};
  std::vector<StoredEntry> Entries() const {
    std::vector<StoredEntry> out;
    for (size_t i = 0; i < built.size(); ++i) out.push_back({names[i], built[i].payload, built[i].content_size});
    return out;
  }
  // Every entry's content before and after the batch.
  std::vector<std::pair<std::string, std::pair<std::optional<Content>, Content>>> Outcomes() const {
    return {{"table.heroes.h4d", {Bytes("table rows"), Bytes("new table rows")}},
            {"raw.h4d", {Bytes("raw!"), Bytes("raw no more")}},
            {"layers.icons.hero.life.82.h4d", {RandomBytes(1500, 21), RandomBytes(3000, 23)}},
            {"layers.icons.hero.life.52.h4d", {RandomBytes(900, 22), Bytes("tiny")}},
            {"first.h4d", {std::nullopt, RandomBytes(2500, 24)}},
            {"second.h4d", {std::nullopt, Bytes("second new")}}};
  }
};

class DurablePuts : public ArchiveFileTest {
 protected:
  void TearDown() override { fault::Reset(); }
};

// A batch finds its entries as separate puts would (a name put twice ends with the later
// payload, an entry the batch added is found again) and ends with the same records and
// contents, but the file grows by one directory only.
TEST_F(DurablePuts, BatchLeavesTheEntriesThatSeparatePutsLeaveWithOneDirectory) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries());
  const Batch batch;
  const std::string separate = dir_.File("SEPARATE.H4R");
  WriteFileBytes(separate, original);
  for (const StoredEntry& e : batch.Entries()) {
    ASSERT_TRUE(PutStoredEntry(separate, e.name, e.payload, e.content_size).ok());
  }
  Write(original);
  std::vector<Status> outcomes;
  ASSERT_TRUE(PutStoredEntries(path_, batch.Entries(), &outcomes).ok());
  ASSERT_EQ(outcomes.size(), batch.built.size());
  for (const auto& [name, change] : batch.Outcomes()) EXPECT_EQ(Load(path_, name), change.second) << name;

  const Directory one = ReadDir(path_), many = ReadDir(separate);
  ASSERT_EQ(one.entries.size(), many.entries.size());
  for (size_t i = 0; i < one.entries.size(); ++i) {
    const EntryRecord &a = one.entries[i].record, &b = many.entries[i].record;
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.stored_size, b.stored_size);
    EXPECT_EQ(a.content_size, b.content_size);
    EXPECT_EQ(a.trailing_word, b.trailing_word) << a.name;
  }
  EXPECT_EQ(one.entries[1].record.trailing_word, kTrailingWordGzip);
  // Every payload the batch changed, at most once more for the name put twice, and one directory.
  size_t written = one.Size();
  for (const BuiltEntry& b : batch.built) written += b.payload.size();
  EXPECT_LE(ReadFileBytes(path_).size(), original.size() + written);
  EXPECT_LT(ReadFileBytes(path_).size(), ReadFileBytes(separate).size());
}

TEST_F(DurablePuts, AnEntryThatCannotBePutFailsAlone) {
  Write(BuildArchive(SampleEntries()));
  const BuiltEntry a = GzipEntry("x", Bytes("a")), b = GzipEntry("x", Bytes("b"));
  const std::string too_long(kMaxStringLength + 1, 'n');
  const std::vector<StoredEntry> entries = {
      {"a.h4d", a.payload, a.content_size}, {too_long, b.payload, b.content_size}, {"", b.payload, 1},
      {"b.h4d", {}, 0}, {"b.h4d", b.payload, b.content_size}};
  std::vector<Status> outcomes;
  const Status s = PutStoredEntries(path_, entries, &outcomes);
  EXPECT_FALSE(s.ok());
  ASSERT_EQ(outcomes.size(), 5u);
  EXPECT_TRUE(outcomes[0].ok());
  EXPECT_FALSE(outcomes[1].ok());
  EXPECT_FALSE(outcomes[2].ok());
  EXPECT_FALSE(outcomes[3].ok());
  EXPECT_TRUE(outcomes[4].ok());
  EXPECT_EQ(s.why(), outcomes[1].why());
  EXPECT_EQ(Load(path_, "a.h4d"), Bytes("a"));
  EXPECT_EQ(Load(path_, "b.h4d"), Bytes("b"));
  EXPECT_EQ(ReadDir(path_).entries.size(), 6u);
}

// The first flush comes after the payloads and the new directories and before anything the
// archive uses: when it fails, the bytes of the old archive are untouched (the file only grew).
TEST_F(DurablePuts, NothingInUseChangesBeforeTheFirstFlush) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries());
  const BuiltEntry added = GzipEntry("x", Bytes("added")), grown = GzipEntry("x", RandomBytes(4000, 25));
  const std::vector<StoredEntry> entries = {{"added.h4d", added.payload, added.content_size},
                                            {"layers.icons.hero.life.82", grown.payload, grown.content_size}};
  for (const std::vector<StoredEntry>& batch :
       {std::vector<StoredEntry>{entries[0]}, std::vector<StoredEntry>{entries[1]}, entries}) {
    Write(original);
    fault::FailNth(1, fault::kFlush);
    EXPECT_FALSE(PutStoredEntries(path_, batch).ok());
    EXPECT_TRUE(fault::Triggered());
    fault::Reset();
    const std::vector<uint8_t> after = ReadFileBytes(path_);
    ASSERT_GT(after.size(), original.size());
    EXPECT_TRUE(std::equal(original.begin(), original.end(), after.begin()));
  }
  // Each put flushes twice: once before the header or a record changes, once after.
  Write(original);
  fault::FailNth(1000, fault::kFlush);
  ASSERT_TRUE(PutStoredEntries(path_, entries).ok());
  EXPECT_EQ(fault::Counted(), 2u);
}

TEST_F(DurablePuts, InterruptedBatchLeavesTheWholeOldArchiveOrTheWholeNewOne) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries());
  const Batch batch;
  for (unsigned long k = 1;; ++k) {
    Write(original);
    fault::FailNth(k, kInterruptions);
    std::vector<Status> outcomes;
    const Status s = PutStoredEntries(path_, batch.Entries(), &outcomes);
    const bool triggered = fault::Triggered();
    fault::Reset();
    bool all_old = true, all_new = true;
    for (const auto& [name, change] : batch.Outcomes()) {
      const std::optional<Content> now = Load(path_, name);
      all_old = all_old && now == change.first;
      all_new = all_new && now == change.second;
    }
    if (!triggered) {
      EXPECT_TRUE(s.ok()) << s.why();
      EXPECT_TRUE(all_new);
      EXPECT_GE(k, 10u);
      break;
    }
    EXPECT_TRUE(all_old || all_new) << "interruption " << k << " left part of the batch";
    EXPECT_FALSE(s.ok()) << "interruption " << k << " was reported as success";
    for (const Status& each : outcomes) EXPECT_FALSE(each.ok()) << k;
    ASSERT_LT(k, 200u) << "the batch never got through";
  }
}

// A crafted archive whose payloads lie over its own directory and over each other: the new
// bytes still go only where nothing lies, and every entry the batch did not touch still loads.
TEST_F(DurablePuts, OverlappingPayloadsInACraftedArchiveAreNeverOverwritten) {
  std::vector<BuiltEntry> entries = SampleEntries();
  std::vector<uint8_t> bytes = BuildArchive(entries, DirectoryPlace::kFirst);
  Directory d;
  {
    Write(bytes);
    d = ReadDir(path_);
    ASSERT_EQ(d.entries.size(), 4u);
  }
  // "raw.h4d" (raw, content 4 bytes) is made a 40-byte entry over the directory's start.
  EntryRecord crafted = d.entries[1].record;
  crafted.data_offset = d.offset;
  crafted.stored_size = 40;
  crafted.content_size = 40;
  std::vector<uint8_t> record;
  EncodeRecord(crafted, &record);
  std::copy(record.begin(), record.end(), bytes.begin() + static_cast<std::ptrdiff_t>(d.entries[1].record_position));
  Write(bytes);
  const std::optional<Content> life82 = Load(path_, "layers.icons.hero.life.82");
  const BuiltEntry table = GzipEntry("x", Bytes("t2")), add = GzipEntry("x", Bytes("added")),
                   small = GzipEntry("x", Bytes("s"));
  const std::vector<StoredEntry> batch = {{"table.heroes.h4d", table.payload, table.content_size},
                                          {"added.h4d", add.payload, add.content_size},
                                          {"raw.h4d", small.payload, small.content_size}};
  ASSERT_TRUE(PutStoredEntries(path_, batch).ok());
  const std::vector<uint8_t> after = ReadFileBytes(path_);
  EXPECT_TRUE(std::equal(bytes.begin() + 8, bytes.end(), after.begin() + 8));
  EXPECT_EQ(Load(path_, "raw.h4d"), Bytes("s"));
  EXPECT_EQ(Load(path_, "added.h4d"), Bytes("added"));
  EXPECT_EQ(Load(path_, "table.heroes.h4d"), Bytes("t2"));
  EXPECT_EQ(Load(path_, "layers.icons.hero.life.82"), life82);
}

// The compact copy is flushed before it replaces the archive, and the folder after: failing
// either flush fails the wipe, with the archive old before the rename and compact after it.
TEST_F(DurablePuts, WipeFlushesTheCopyAndTheFolder) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries(), DirectoryPlace::kLast, 777);
  Write(original);
  fault::FailNth(1000, fault::kFlush);
  ASSERT_TRUE(WipeArchive(path_).ok());
  const unsigned long flushes = fault::Counted();
  fault::Reset();
  const std::vector<uint8_t> compact = ReadFileBytes(path_);
  ASSERT_EQ(compact.size(), original.size() - 777);
  ASSERT_GE(flushes, 2u);

  Write(original);
  fault::FailNth(flushes - 1, fault::kFlush);  // the copy's flush, before the rename
  EXPECT_FALSE(WipeArchive(path_).ok());
  fault::Reset();
  EXPECT_EQ(ReadFileBytes(path_), original);
  EXPECT_FALSE(os::FileExists(dir_.File(kWipeHoldingName)));

  Write(original);
  fault::FailNth(flushes, fault::kFlush);  // the folder's flush, after the rename
  EXPECT_FALSE(WipeArchive(path_).ok());
  fault::Reset();
  EXPECT_EQ(ReadFileBytes(path_), compact);
}

}  // namespace
}  // namespace qm::test
