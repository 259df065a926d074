#include "web/update_check_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qm {
namespace {

// The ports of the canned servers that tests/win32/run_with_update_server.py starts on
// 127.0.0.1: one answers by the Host header, the other accepts and never answers.
unsigned short PortFromEnvironment(const char* name) {
  const char* text = std::getenv(name);
  return text != nullptr ? static_cast<unsigned short>(std::atoi(text)) : 0;
}

class UpdateCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    port_ = PortFromEnvironment("QM_TEST_UPDATE_PORT");
    stall_port_ = PortFromEnvironment("QM_TEST_STALL_PORT");
    if (port_ == 0 || stall_port_ == 0) GTEST_SKIP() << "no canned update server";
  }
  unsigned short port_ = 0;
  unsigned short stall_port_ = 0;
};

TEST_F(UpdateCheck, FramesetOnTheFrontPageLeadsToTheVersionFileOnAnotherHost) {
  // 127.0.0.1 "/" is a frame set naming localhost /site/; localhost /site//version.txt is 1.02.
  const UpdateCheckResult result = CheckPublishedVersion({"127.0.0.1", port_, 4000});
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.version, 1.02f);
  EXPECT_EQ(result.requests, 2);
}

TEST_F(UpdateCheck, AStalledServerHoldsTheWindowNoLongerThanTheDeadline) {
  const DWORD started = GetTickCount();
  const UpdateCheckResult result = CheckPublishedVersion({"127.0.0.1", stall_port_, 1500});
  const DWORD took = GetTickCount() - started;
  EXPECT_EQ(result.version, std::nullopt);
  EXPECT_LT(took, 2500u);
}

TEST_F(UpdateCheck, RefusedConnectionEndsSilently) {
  const UpdateCheckResult result = CheckPublishedVersion({"127.0.0.1", 1, 3000});
  EXPECT_EQ(result.version, std::nullopt);
  EXPECT_EQ(result.requests, 1);
}

TEST_F(UpdateCheck, CommandChecksOnceAndAnnouncesTheNewerVersion) {
  EXPECT_EQ(RunUpdateCommand({"127.0.0.1", port_, 4000}),
            "A newer Quillmark (v1.02) is out. Get it from:\nhttp://www.quillmark-editor.org/");
  // A second command (as a posted 1023 would be) does not check again.
  const DWORD started = GetTickCount();
  EXPECT_EQ(RunUpdateCommand({"127.0.0.1", stall_port_, 4000}), "");
  EXPECT_LT(GetTickCount() - started, 500u);
}

}  // namespace
}  // namespace qm
