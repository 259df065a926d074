// Interrupted writes: the k-th write, seek, flush to the disk, close or rename of a put or a wipe
// fails, for every k until the operation gets through. Each failure must be reported, and the
// archive must still load with its old content or its new.
#include <gtest/gtest.h>

#include <functional>

#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/file.h"
#include "base/os.h"
#include "tests/archive_fixture.h"

namespace qm::test {
namespace {

using Content = std::vector<uint8_t>;
using Contents = std::vector<std::pair<std::string, Content>>;

constexpr unsigned kInterruptions = fault::kWrite | fault::kSeek | fault::kClose | fault::kFlush | fault::kRename;

class ArchiveFaults : public ArchiveFileTest {
 protected:
  void TearDown() override { fault::Reset(); }

  // Runs `operation` on a fresh copy of `original` with the k-th interruption failing, for
  // k = 1, 2, ... until it succeeds; after each failure every entry must load as in `before`
  // or as in `after`. Returns how many interruption points there were.
  unsigned long FailEveryStep(const std::vector<uint8_t>& original, const std::function<Status()>& operation,
                              const Contents& before, const Contents& after, unsigned kinds = kInterruptions) {
    for (unsigned long k = 1;; ++k) {
      Write(original);
      fault::FailNth(k, kinds);
      const Status s = operation();
      const bool triggered = fault::Triggered();
      fault::Reset();
      if (!triggered) {
        EXPECT_TRUE(s.ok()) << s.why();
        ExpectContents(after, k);
        return k - 1;
      }
      EXPECT_FALSE(s.ok()) << "interruption " << k << " was reported as success";
      const bool old_state = Matches(before), new_state = Matches(after);
      EXPECT_TRUE(old_state || new_state) << "interruption " << k << " left neither the old nor the new content";
      EXPECT_FALSE(os::FileExists(dir_.File("H4R.$$$"))) << k;
      if (k > 500) {
        ADD_FAILURE() << "the operation never got through";
        return k;
      }
    }
  }

  bool Matches(const Contents& contents) {
    for (const auto& [name, content] : contents) {
      if (Load(path_, name) != content) return false;
    }
    return true;
  }

  void ExpectContents(const Contents& contents, unsigned long k) {
    for (const auto& [name, content] : contents) EXPECT_EQ(Load(path_, name), content) << name << " after " << k;
  }
};

std::vector<BuiltEntry> SampleEntries() {
  return {GzipEntry("table.heroes.h4d", Bytes("table rows")), RawEntry("raw.h4d", Bytes("raw!")),
          GzipEntry("layers.icons.hero.life.82.h4d", RandomBytes(1500, 11))};
}

Contents SampleContents() {
  return {{"table.heroes.h4d", Bytes("table rows")},
          {"raw.h4d", Bytes("raw!")},
          {"layers.icons.hero.life.82.h4d", RandomBytes(1500, 11)}};
}

TEST_F(ArchiveFaults, InterruptedAddKeepsTheOldDirectory) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries());
  const BuiltEntry added = GzipEntry("x", Bytes("a new entry"));
  Contents after = SampleContents();
  after.push_back({"new.h4d", Bytes("a new entry")});
  Contents before = SampleContents();
  const unsigned long steps = FailEveryStep(
      original, [&] { return PutStoredEntry(path_, "new.h4d", added.payload, added.content_size); }, before, after);
  EXPECT_GE(steps, 4u);
}

TEST_F(ArchiveFaults, InterruptedGrownReplaceKeepsTheOldPayload) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries(), DirectoryPlace::kFirst);
  const BuiltEntry grown = GzipEntry("x", RandomBytes(4000, 12));
  Contents after = SampleContents();
  after[2].second = RandomBytes(4000, 12);
  const unsigned long steps = FailEveryStep(
      original,
      [&] { return PutStoredEntry(path_, "layers.icons.hero.life.82", grown.payload, grown.content_size); },
      SampleContents(), after);
  EXPECT_GE(steps, 4u);
}

TEST_F(ArchiveFaults, InterruptedEqualSizeReplaceGivesOldOrNew) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries());
  const BuiltEntry same_size = GzipEntry("x", RandomBytes(1500, 13));
  ASSERT_EQ(same_size.payload.size(), SampleEntries()[2].payload.size());
  Contents after = SampleContents();
  after[2].second = RandomBytes(1500, 13);
  FailEveryStep(
      original,
      [&] { return PutStoredEntry(path_, "layers.icons.hero.life.82", same_size.payload, same_size.content_size); },
      SampleContents(), after);
}

TEST_F(ArchiveFaults, InterruptedSmallerReplaceGivesOldOrNew) {
  const std::vector<uint8_t> original = BuildArchive(SampleEntries());
  const BuiltEntry smaller = GzipEntry("x", Bytes("tiny"));
  Contents after = SampleContents();
  after[2].second = Bytes("tiny");
  FailEveryStep(
      original,
      [&] { return PutStoredEntry(path_, "layers.icons.hero.life.82", smaller.payload, smaller.content_size); },
      SampleContents(), after);
}

TEST_F(ArchiveFaults, InterruptedWipeLeavesTheArchiveAsItWas) {
  std::vector<uint8_t> original = BuildArchive(SampleEntries(), DirectoryPlace::kLast, 4096);
  // Old and new content are the same entries, so the checks below would also pass for a wipe
  // that never rewrote anything: the uninterrupted wipe must compact the slack away.
  Write(original);
  ASSERT_TRUE(WipeArchive(path_).ok());
  ASSERT_LT(ReadFileBytes(path_).size(), original.size());
  ExpectContents(SampleContents(), 0);
  const unsigned long steps =
      FailEveryStep(original, [&] { return WipeArchive(path_); }, SampleContents(), SampleContents());
  EXPECT_GE(steps, 3u);
  // Failed reads of the source stop the wipe too, with the archive untouched.
  for (unsigned long k = 1; k < 50; ++k) {
    Write(original);
    fault::FailNth(k, fault::kRead);
    const Status s = WipeArchive(path_);
    const bool triggered = fault::Triggered();
    fault::Reset();
    if (!triggered) break;
    EXPECT_FALSE(s.ok()) << k;
    EXPECT_EQ(ReadFileBytes(path_), original) << k;
  }
}

TEST_F(ArchiveFaults, InterruptedWipeOfLargeEntriesLeavesNoPartialCopy) {
  const Content big = RandomBytes(kWorkingBufferSize + 5, 14);
  const std::vector<uint8_t> original =
      BuildArchive({RawEntry("big", big), RawEntry("small", Bytes("s"))}, DirectoryPlace::kLast, 10);
  FailEveryStep(original, [&] { return WipeArchive(path_); }, {{"big", big}, {"small", Bytes("s")}},
                {{"big", big}, {"small", Bytes("s")}});
}

TEST(FaultHook, CountsOnlyTheArmedKinds) {
  TempDir dir;
  const std::string path = dir.File("f");
  fault::FailNth(2, fault::kWrite);
  File f = File::Open(path, File::Mode::kCreateReadWrite);
  ASSERT_TRUE(f.is_open());
  EXPECT_TRUE(f.Write("a", 1));
  EXPECT_TRUE(f.Seek(0));
  EXPECT_FALSE(f.Write("b", 1));
  EXPECT_TRUE(fault::Triggered());
  EXPECT_TRUE(f.Write("c", 1));
  EXPECT_EQ(fault::Counted(), 3u);
  fault::Reset();
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(ReadFileBytes(path), Bytes("c"));
}

}  // namespace
}  // namespace qm::test
