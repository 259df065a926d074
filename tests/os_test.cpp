#include "base/os.h"

#include <gtest/gtest.h>

#include "base/path.h"
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

}  // namespace
}  // namespace qm
