#include "base/os.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "archive/h4r_wipe.h"
#include "archive/h4r_writer.h"
#include "base/path.h"
#include "base/replacement_file.h"
#include "tests/test_util.h"

namespace qm {
namespace {

TEST(OsSeam, TempFileIsNewEmptyAndCarriesThePrefix) {
  const std::optional<std::string> a = os::CreateTempFile("QLM");
  const std::optional<std::string> b = os::CreateTempFile("QLM");
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  for (const std::string& p : {*a, *b}) {
    const std::string name = p.substr(FolderOf(p).size() + 1);
    EXPECT_EQ(name.rfind("QLM", 0), 0u) << name;
    EXPECT_TRUE(os::FileExists(p));
    EXPECT_TRUE(test::ReadFileBytes(p).empty());
    EXPECT_TRUE(os::RemoveFile(p));
    EXPECT_FALSE(os::FileExists(p));
  }
}

TEST(OsSeam, ReplaceTakesTheOldNameRenameRefusesATakenOne) {
  test::TempDir dir;
  const std::string target = dir.File("target"), other = dir.File("other");
  test::WriteFileText(target, "old");
  test::WriteFileText(other, "new");
  EXPECT_FALSE(os::RenameFile(other, target));
  EXPECT_TRUE(os::ReplaceFileWith(target, other));
  EXPECT_EQ(test::ReadFileBytes(target), test::Bytes("new"));
  EXPECT_FALSE(os::FileExists(other));
  EXPECT_TRUE(os::RenameFile(target, other));
  EXPECT_FALSE(os::FileExists(target));
  EXPECT_FALSE(os::RemoveFile(target));
}

TEST(OsSeam, LastWriteTimeRoundTripsAsAWindowsFileTime) {
  test::TempDir dir;
  const std::string path = dir.File("f");
  test::WriteFileText(path, "x");
  const std::optional<os::FileTimes> now = os::ReadFileTimes(path);
  ASSERT_TRUE(now);
  // 2001-09-09 01:46:40 UTC: 1,000,000,000 seconds after 1970, plus 0.5 s.
  const uint64_t stamp = (1000000000ULL + 11644473600ULL) * 10000000ULL + 5000000ULL;
  ASSERT_TRUE(os::WriteFileTimes(path, {now->creation, stamp}));
  const std::optional<os::FileTimes> read = os::ReadFileTimes(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->last_write, stamp);
  EXPECT_FALSE(os::ReadFileTimes(dir.File("missing")));
}

#ifndef _WIN32
// Files written under a temporary name come out with the mode of the file they replace, or that
// of any new file (0666 less the umask): not the temporary file's private 0600.
TEST(OsSeam, ReplacedFilesKeepTheirModeAndNewFilesFollowTheUmask) {
  test::TempDir dir;
  auto mode = [](const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0u;
  };
  struct UmaskGuard {
    mode_t saved = umask(022);
    ~UmaskGuard() { umask(saved); }
  } guard;
  const std::string kept = dir.File("kept"), fresh = dir.File("fresh"), archive = dir.File("UPDATES.H4R");
  test::WriteFileText(kept, "old");
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  for (const std::string& target : {kept, fresh}) {
    ReplacementFile out;
    ASSERT_TRUE(ReplacementFile::Create(target, &out));
    ASSERT_TRUE(out.file().Write("new", 3));
    ASSERT_TRUE(out.Commit());
  }
  EXPECT_EQ(mode(kept), 0640u);
  EXPECT_EQ(mode(fresh), 0644u);

  ASSERT_TRUE(CreateArchive(archive));
  EXPECT_EQ(mode(archive), 0644u);
  ASSERT_EQ(chmod(archive.c_str(), 0604), 0);
  ASSERT_TRUE(PutEntry(archive, "a.h4d", test::Bytes("a")));
  ASSERT_TRUE(WipeArchive(archive));
  EXPECT_EQ(mode(archive), 0604u);

  umask(077);
  ASSERT_TRUE(os::RemoveFile(fresh));
  ReplacementFile out;
  ASSERT_TRUE(ReplacementFile::Create(fresh, &out));
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(mode(fresh), 0600u);
}
#endif

}  // namespace
}  // namespace qm
