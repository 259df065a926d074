// The backup into the restore tool and the restore walk that puts it back.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/file_time_record.h"
#include "archive/h4r_format.h"
#include "archive/payload.h"
#include "base/os.h"
#include "restore/restore_walk.h"
#include "shell/backup.h"
#include "tests/archive_builder.h"
#include "tests/sharing_util.h"

namespace qm {
namespace {

using test::Bytes;

constexpr uint64_t kSavedTime = 130000000000000000ull;  // 2012-12-15, in Windows file time

uint64_t LastWrite(const std::string& path) {
  const std::optional<os::FileTimes> t = os::ReadFileTimes(path);
  return t ? t->last_write : 0;
}

class BackupRestore : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = test::MakeGame(dir_, "game", 3);
    data_ = game_ + "DATA/";
    updates_ = data_ + "UPDATES.H4R";
    tool_ = data_ + "RESTORE.EXE";
    backed_up_ = test::ReadFileBytes(updates_);
    ASSERT_TRUE(os::WriteFileTimes(updates_, {kSavedTime, kSavedTime}));
  }
  void TearDown() override { fault::Reset(); }

  // A restore tool of our own with the given entries appended as they are.
  std::string CustomTool(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& blobs) {
    const std::string exe = dir_.File("custom.exe");
    test::WriteFileBytes(exe, stub_);
    for (const auto& [name, blob] : blobs) EXPECT_TRUE(AppendPayloadEntry(exe, name, blob, 0).ok()) << name;
    return exe;
  }
  static std::vector<uint8_t> Times(const std::string& name) {
    return EncodeFileTimeRecord({kSavedTime, kSavedTime, name});
  }

  test::TempDir dir_;
  std::string game_, data_, updates_, tool_;
  std::vector<uint8_t> backed_up_;
  std::vector<uint8_t> stub_ = test::RandomBytes(2500, 3);
};

TEST_F(BackupRestore, BackupHoldsTheArchiveThenItsTimesAndRestoresBoth) {
  test::WriteFileText(tool_, "old restore tool");
  ASSERT_TRUE(WriteBackup(stub_, tool_, updates_));
  const std::vector<uint8_t> exe = test::ReadFileBytes(tool_);
  EXPECT_TRUE(std::equal(stub_.begin(), stub_.end(), exe.begin()));
  PayloadReader r;
  ASSERT_TRUE(PayloadReader::Open(tool_, &r));
  ASSERT_EQ(r.records().size(), 2u);
  EXPECT_EQ(r.records()[0].name, "DATA\\UPDATES.H4R");
  EXPECT_EQ(r.records()[0].content_size, 0u);
  EXPECT_EQ(r.records()[1].name, "DATA\\UPDATES.FTM");
  EXPECT_EQ(r.records()[1].stored_size, 28u);
  std::vector<uint8_t> blob;
  ASSERT_TRUE(r.ReadBlob(r.records()[0], &blob));
  EXPECT_EQ(blob, backed_up_);
  ASSERT_TRUE(r.ReadBlob(r.records()[1], &blob));
  FileTimeRecord times;
  ASSERT_TRUE(DecodeFileTimeRecord(blob, &times));
  EXPECT_EQ(times.name, "UPDATES.H4R");
  EXPECT_EQ(times.last_write, kSavedTime);
  EXPECT_TRUE(test::TempFilesIn(data_).empty());

  // The game changes the archive; the restore puts the old one back with its times.
  test::WriteFileText(updates_, "changed since");
  RestoreReport report;
  ASSERT_TRUE(RestoreFromPayload(tool_, game_, &report));
  EXPECT_EQ(test::ReadFileBytes(updates_), backed_up_);
  EXPECT_EQ(LastWrite(updates_), kSavedTime);
  ASSERT_EQ(report.files_restored.size(), 1u);
  ASSERT_EQ(report.times_applied.size(), 1u);
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::equivalent(report.files_restored[0], updates_, ec));
  EXPECT_TRUE(std::filesystem::equivalent(report.times_applied[0], updates_, ec));
  EXPECT_TRUE(test::TempFilesIn(data_).empty());
}

TEST_F(BackupRestore, AFailedBackupKeepsTheOldTool) {
  test::WriteFileText(tool_, "old restore tool");
  EXPECT_FALSE(WriteBackup({}, tool_, updates_));
  EXPECT_FALSE(WriteBackup(test::ReadFileBytes(CustomTool({{"x", Bytes("x")}})), tool_, updates_));
  EXPECT_FALSE(WriteBackup(stub_, tool_, data_ + "MISSING.H4R"));
  EXPECT_TRUE(test::TempFilesIn(data_).empty());
  EXPECT_EQ(test::ReadFileBytes(tool_), Bytes("old restore tool"));
}

// The rename that puts the archive back is the commit: a failed flush of the folder after it
// leaves the archive restored, so the times are still applied and it is only a warning.
TEST_F(BackupRestore, AFailedFolderFlushAfterTheRestoreIsAWarning) {
  ASSERT_TRUE(WriteBackup(stub_, tool_, updates_));
  fault::FailNth(1000, fault::kFlush);
  ASSERT_TRUE(RestoreFromPayload(tool_, game_));
  const unsigned long flushes = fault::Counted();  // the folder's flush is the last
  test::WriteFileText(updates_, "changed since");
  fault::FailNth(flushes, fault::kFlush);
  RestoreReport report;
  const Status s = RestoreFromPayload(tool_, game_, &report);
  EXPECT_TRUE(fault::Triggered());
  fault::Reset();
  ASSERT_TRUE(s.ok()) << s.why();
  EXPECT_EQ(test::ReadFileBytes(updates_), backed_up_);
  EXPECT_EQ(LastWrite(updates_), kSavedTime);
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_NE(report.warnings[0].find("flush"), std::string::npos) << report.warnings[0];
}

TEST_F(BackupRestore, SlotOrderDecidesWhetherTheTimesSurviveTheRestore) {
  test::WriteFileText(updates_, "now");
  ASSERT_TRUE(RestoreFromPayload(CustomTool({{"DATA\\UPDATES.H4R", Bytes("archive")},
                                             {"DATA\\UPDATES.FTM", Times("UPDATES.H4R")}}),
                                 game_));
  EXPECT_EQ(test::ReadFileBytes(updates_), Bytes("archive"));
  EXPECT_EQ(LastWrite(updates_), kSavedTime);

  // Times stamped first are overwritten by the restore that follows.
  ASSERT_TRUE(RestoreFromPayload(CustomTool({{"DATA\\UPDATES.FTM", Times("UPDATES.H4R")},
                                             {"DATA\\UPDATES.H4R", Bytes("again")}}),
                                 game_));
  EXPECT_EQ(test::ReadFileBytes(updates_), Bytes("again"));
  EXPECT_NE(LastWrite(updates_), kSavedTime);

  // A file-time record whose file is not there is ignored.
  RestoreReport report;
  ASSERT_TRUE(RestoreFromPayload(CustomTool({{"DATA\\UPDATES.FTM", Times("NOTTHERE.H4R")}}), game_, &report));
  EXPECT_TRUE(report.times_applied.empty());
}

TEST_F(BackupRestore, UntrustedRecordsFailTheRestoreWithNothingWritten) {
  const std::vector<uint8_t> before = test::ReadFileBytes(updates_);
  for (const char* bad : {"..\\HEROES4.EXE", "\\Windows\\evil.dll", "/tmp/evil", "C:\\evil", "C:evil",
                          "DATA\\..\\..\\evil", "DATA/../../evil", "DATA\\UPDATES.H4R:stream"}) {
    const std::string exe = CustomTool({{"DATA\\UPDATES.H4R", Bytes("fine")}, {bad, Bytes("evil")}});
    EXPECT_FALSE(RestoreFromPayload(exe, game_)) << bad;
    EXPECT_EQ(test::ReadFileBytes(updates_), before) << bad;
  }
  for (const char* bad : {"..\\HEROES4.EXE", "DATA\\UPDATES.H4R", "../UPDATES.H4R", "C:UPDATES.H4R", ""}) {
    const std::string exe = CustomTool({{"DATA\\UPDATES.H4R", Bytes("fine")}, {"DATA\\UPDATES.FTM", Times(bad)}});
    EXPECT_FALSE(RestoreFromPayload(exe, game_)) << bad;
    EXPECT_EQ(test::ReadFileBytes(updates_), before) << bad;
  }
  // A record that is not a file-time record at all.
  EXPECT_FALSE(RestoreFromPayload(CustomTool({{"DATA\\UPDATES.FTM", Bytes("short")}}), game_));

  // Blobs outside the payload.
  const std::string exe = CustomTool({{"DATA\\UPDATES.H4R", Bytes("fine")}});
  std::vector<uint8_t> bytes = test::ReadFileBytes(exe);
  StoreU32(bytes.data() + stub_.size() + 4, 0x10000000);
  test::WriteFileBytes(exe, bytes);
  EXPECT_FALSE(RestoreFromPayload(exe, game_));

  // The bare stub, as extracted.
  test::WriteFileBytes(exe, stub_);
  EXPECT_FALSE(RestoreFromPayload(exe, game_));
  EXPECT_EQ(test::ReadFileBytes(updates_), before);
  EXPECT_TRUE(test::TempFilesIn(data_).empty());
}

TEST_F(BackupRestore, ArchivesLargerThanAnyBufferRoundTrip) {
  const std::vector<uint8_t> big = test::RandomBytes(2 * kWorkingBufferSize + 17, 21);
  test::WriteFileBytes(updates_, big);
  ASSERT_TRUE(WriteBackup(stub_, tool_, updates_));
  test::WriteFileText(updates_, "small now");
  ASSERT_TRUE(RestoreFromPayload(tool_, game_));
  EXPECT_EQ(test::ReadFileBytes(updates_), big);
}

TEST_F(BackupRestore, InterruptedBackupKeepsTheOldToolAndLeavesNoTempFile) {
  const std::vector<uint8_t> old_tool = Bytes("old restore tool");
  const unsigned long steps = test::FailEveryStep(
      [&] { test::WriteFileBytes(tool_, old_tool); },
      [&] { return WriteBackup(stub_, tool_, updates_); },
      [&](const Status& s, bool interrupted, unsigned long k) {
        EXPECT_EQ(s.ok(), !interrupted) << "interruption " << k;
        EXPECT_TRUE(test::TempFilesIn(data_).empty()) << k;
        const std::vector<uint8_t> now = test::ReadFileBytes(tool_);
        if (s.ok() || now != old_tool) {
          // The new tool is only ever in place complete (the last step, making the replace
          // durable, can still fail after it).
          PayloadReader r;
          ASSERT_TRUE(PayloadReader::Open(tool_, &r)) << k;
          ASSERT_EQ(r.records().size(), 2u) << k;
          std::vector<uint8_t> blob;
          ASSERT_TRUE(r.ReadBlob(r.records()[0], &blob));
          EXPECT_EQ(blob, backed_up_) << k;
        }
      });
  EXPECT_GE(steps, 8u);
}

TEST_F(BackupRestore, InterruptedRestoreLeavesTheOldArchiveOrTheBackup) {
  ASSERT_TRUE(WriteBackup(stub_, tool_, updates_));
  const std::vector<uint8_t> changed = test::RandomBytes(4000, 5);
  const unsigned long steps = test::FailEveryStep(
      [&] { test::WriteFileBytes(updates_, changed); },
      [&] { return RestoreFromPayload(tool_, game_); },
      [&](const Status& s, bool interrupted, unsigned long k) {
        // A failure to stamp the times does not fail the restore.
        if (!interrupted || s.ok()) {
          EXPECT_EQ(test::ReadFileBytes(updates_), backed_up_) << k;
        } else {
          const std::vector<uint8_t> now = test::ReadFileBytes(updates_);
          EXPECT_TRUE(now == changed || now == backed_up_) << "interruption " << k;
        }
        EXPECT_TRUE(test::TempFilesIn(data_).empty()) << k;
      });
  EXPECT_GE(steps, 4u);
}

}  // namespace
}  // namespace qm
