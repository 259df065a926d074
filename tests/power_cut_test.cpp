// Power cuts at every step of each operation that changes the game's files (tests/power_cut.h):
// every state a cut can leave holds each file's whole old content or its whole new one. Each
// test prints how many states it checked; QM_POWER_CUT_STATES sets the random states per step.
#include "tests/power_cut.h"

#include <gtest/gtest.h>

#include <cctype>

#include "archive/entry_compressor.h"
#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "archive/payload.h"
#include "base/file.h"
#include "base/os.h"
#include "heroes/hero_catalogue.h"
#include "heroes/hero_table.h"
#include "patcher/patch_apply.h"
#include "restore/restore_walk.h"
#include "shell/backup.h"
#include "shell/make_sfx.h"
#include "tests/archive_builder.h"
#include "tests/sharing_util.h"

namespace qm {
namespace {

using test::Bytes;
using test::PowerCut;

constexpr size_t kRandomStates = 6;
constexpr const char* kUpdates = "DATA/UPDATES.H4R";

std::vector<uint8_t> OnePixelChanged(std::vector<uint8_t> face) {
  if (!face.empty()) face.back() ^= 1;
  return face;
}

// True when `text` names `file` (Windows file names are reported in lower case).
bool Names(std::string text, const std::string& file) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text.find(file) != std::string::npos;
}

class PowerCuts : public ::testing::Test {
 protected:
  // Records `operation` on the game folder and checks every state at every step.
  void Expect(const std::string& what, const std::function<Status()>& operation) {
    PowerCut cut(game_);
    cut.TreatAsArchive(kUpdates);
    const Status s = cut.Record(operation);
    ASSERT_TRUE(s.ok()) << what << ": " << s.why();
    ASSERT_GT(cut.events(), 0u) << what << " changed nothing";
    const PowerCut::Tally tally = cut.CheckEveryStep(kRandomStates);
    test::PrintTally(what, tally);
    EXPECT_EQ(tally.failures, 0u) << what << ": " << tally.first_failure;
  }

  // Saves a long biography for hero 4 and returns the hero table with a short one instead: a
  // table smaller than the saved one, the case where writing over the old payload lost it.
  std::vector<uint8_t> ShorterTable() {
    HeroCatalogue c = test::LoadCatalogue(game_);
    std::vector<uint8_t> table;
    if (!c.SetBiography(4, std::string(600, 'x')) || !c.Save(updates_)) return table;
    if (!c.SetBiography(4, "Short.") || !SerializeHeroTable(c.records(), &table)) table.clear();
    return table;
  }

  test::TempDir dir_;
  std::string game_ = test::MakeGame(dir_, "game", 6);
  std::string updates_ = game_ + kUpdates;
};

TEST_F(PowerCuts, Put) {
  const std::vector<uint8_t> table = ShorterTable();
  ASSERT_FALSE(table.empty());
  Expect("put", [&] { return PutEntry(updates_, kHeroTableEntryName, table); });
  Expect("put of a new entry", [&] { return PutEntry(updates_, "new.entry.h4d", test::RandomBytes(3000, 1)); });
}

TEST_F(PowerCuts, CatalogueSave) {
  HeroCatalogue c = test::LoadCatalogue(game_);
  ASSERT_TRUE(c.SetName(5, "Renamed"));
  ASSERT_TRUE(c.ReplaceFace(5, FaceKind::kLarge, OnePixelChanged(c.record(5).large_face)));
  Expect("catalogue save", [&] { return c.Save(updates_); });
  Expect("catalogue save without changes", [&] { return c.Save(updates_); });
}

TEST_F(PowerCuts, Wipe) {
  HeroCatalogue c = test::LoadCatalogue(game_);
  ASSERT_TRUE(c.Save(updates_));
  ASSERT_TRUE(c.Save(updates_));
  Expect("wipe", [&] { return WipeArchive(updates_); });
}

TEST_F(PowerCuts, PatchApply) {
  const std::string source_game = test::MakeGame(dir_, "source", 6);
  HeroCatalogue source = test::LoadCatalogue(source_game);
  ASSERT_TRUE(source.SetName(3, "Patched"));
  ASSERT_TRUE(source.ReplaceFace(3, FaceKind::kSmall, OnePixelChanged(source.record(3).small_face)));
  const std::string patcher = dir_.File("QLMKSFX.EXE");
  ASSERT_TRUE(BuildPatcher(&source, test::RandomBytes(2000, 2), patcher));
  Expect("patch apply, portraits", [&] { return ApplyPatch(patcher, game_, updates_, UpdateKind::kPortraits); });
  Expect("patch apply, text", [&] { return ApplyPatch(patcher, game_, updates_, UpdateKind::kText); });
}

TEST_F(PowerCuts, BackupAndRestore) {
  const std::string tool = game_ + "DATA/RESTORE.EXE";
  test::WriteFileText(tool, "an older restore tool");
  const std::vector<uint8_t> stub = test::RandomBytes(2000, 3);
  Expect("backup", [&] { return WriteBackup(stub, tool, updates_); });
  HeroCatalogue c = test::LoadCatalogue(game_);
  ASSERT_TRUE(c.SetName(3, "Changed since"));
  ASSERT_TRUE(c.Save(updates_));
  Expect("restore", [&] { return RestoreFromPayload(tool, game_); });
}

TEST_F(PowerCuts, PayloadAddAndArchiveCreate) {
  const std::string exe = game_ + "QLMKSFX.EXE";
  test::WriteFileBytes(exe, test::RandomBytes(3000, 4));
  ASSERT_TRUE(AppendPayloadEntry(exe, "first.h4d", Bytes("first"), 0));
  Expect("payload add", [&] { return AppendPayloadEntryByCopy(exe, "second.h4d", test::RandomBytes(1500, 5), 0); });
  Expect("archive create over an archive", [&] { return CreateArchive(updates_); });
}

// The check is worth something only if it finds what it is for: a smaller payload written over
// the old one in place and its record rewritten after it, and a file put in place by a rename
// before its bytes were flushed.
TEST_F(PowerCuts, TheCheckFindsUnsafeWrites) {
  {
    const std::vector<uint8_t> table = ShorterTable();
    std::vector<uint8_t> payload;
    ASSERT_TRUE(CompressEntry(table, &payload));
    PowerCut cut(game_);
    cut.TreatAsArchive(kUpdates);
    ASSERT_TRUE(cut.Record([&] {
      Archive a;
      FoundEntry found;
      if (!Archive::Open(updates_, Archive::Access::kReadWrite, &a) || !a.FindEntry(kHeroTableEntryName, &found) ||
          payload.size() > found.record.stored_size) {
        return Status::Fail("no table to overwrite");
      }
      found.record.stored_size = static_cast<uint32_t>(payload.size());
      found.record.content_size = static_cast<uint32_t>(table.size());
      std::vector<uint8_t> record;
      EncodeRecord(found.record, &record);
      File& f = a.file();
      const bool ok = f.Seek(found.record.data_offset) && f.Write(payload.data(), payload.size()) && f.Sync() &&
                      f.Seek(found.record_position) && f.Write(record.data(), record.size()) && f.Sync();
      return ok ? a.Close() : Status::Fail("io");
    }));
    const PowerCut::Tally tally = cut.CheckEveryStep(kRandomStates);
    test::PrintTally("replace in place (unsafe, for comparison)", tally);
    EXPECT_GT(tally.failures, 0u);
    EXPECT_TRUE(Names(tally.first_failure, "updates.h4r")) << tally.first_failure;
  }
  {
    PowerCut cut(game_);
    ASSERT_TRUE(cut.Record([&] {
      const std::string temp = game_ + "DATA/QLMtemp";
      File f = File::Open(temp, File::Mode::kCreate);
      const std::vector<uint8_t> bytes(2000, 0x66);
      if (!f.Write(bytes.data(), bytes.size()) || !f.Close()) return Status::Fail("io");
      if (!os::ReplaceFileWith(game_ + "DATA/RESTORE.EXE", temp) || !os::SyncFolderOf(temp)) return Status::Fail("io");
      return Status::Ok();
    }));
    const PowerCut::Tally tally = cut.CheckEveryStep(2);
    EXPECT_GT(tally.failures, 0u);
    EXPECT_TRUE(Names(tally.first_failure, "restore.exe")) << tally.first_failure;
  }
}

}  // namespace
}  // namespace qm
