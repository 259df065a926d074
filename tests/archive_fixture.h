// The archive tests' fixture: a fresh folder for each test and the archive in it, UPDATES.H4R.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/archive_builder.h"
#include "tests/test_util.h"

namespace qm::test {

class ArchiveFileTest : public ::testing::Test {
 protected:
  // Replaces the archive with `bytes`.
  void Write(const std::vector<uint8_t>& bytes) { WriteFileBytes(path_, bytes); }

  TempDir dir_;
  std::string path_ = dir_.File("UPDATES.H4R");
};

}  // namespace qm::test
