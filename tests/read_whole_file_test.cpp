// The one whole-file reader: bounds, missing files and read faults.
#include <gtest/gtest.h>

#include "base/file.h"
#include "tests/test_util.h"

namespace qm {
namespace {

TEST(ReadWholeFile, ReadsUpToTheLimitAndRefusesMoreOrMissing) {
  test::TempDir dir;
  const std::string path = dir.File("data.bin");
  test::WriteFileBytes(path, {1, 2, 3, 4, 5});
  std::vector<uint8_t> bytes = {9};
  EXPECT_EQ(ReadWholeFile(path, 5, &bytes), ReadWholeResult::kOk);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(ReadWholeFile(path, 4, &bytes), ReadWholeResult::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(ReadWholeFile(dir.File("missing.bin"), 100, &bytes), ReadWholeResult::kCannotOpen);

  const std::string empty = dir.File("empty.bin");
  test::WriteFileBytes(empty, {});
  bytes = {9};
  EXPECT_EQ(ReadWholeFile(empty, 0, &bytes), ReadWholeResult::kOk);
  EXPECT_TRUE(bytes.empty());
}

TEST(ReadWholeFile, AFailedReadLeavesNothing) {
  test::TempDir dir;
  const std::string path = dir.File("data.bin");
  test::WriteFileBytes(path, std::vector<uint8_t>(1000, 7));
  std::vector<uint8_t> bytes;
  fault::FailNth(1, fault::kRead);
  const ReadWholeResult result = ReadWholeFile(path, 1000, &bytes);
  const bool triggered = fault::Triggered();
  fault::Reset();
  EXPECT_TRUE(triggered);
  EXPECT_EQ(result, ReadWholeResult::kReadFailed);
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace qm
