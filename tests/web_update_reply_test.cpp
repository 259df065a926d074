#include "web/update_reply.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qm {
namespace {

TEST(UpdateReply, VersionRangeIsCheckedInBothPrecisions) {
  EXPECT_EQ(ReplyVersion("1.02"), 1.02f);
  EXPECT_EQ(ReplyVersion(" \r\n\t0.96 is out"), 0.96f);
  EXPECT_EQ(ReplyVersion("10"), 10.0f);
  EXPECT_EQ(ReplyVersion("10.0000001"), 10.0f);  // rounds to 10 in single precision
  // 0.1 in double precision lies below 0.1 in single precision.
  EXPECT_EQ(ReplyVersion("0.1"), std::nullopt);
  EXPECT_EQ(ReplyVersion("0.10000001"), 0.10000001f);
  EXPECT_EQ(ReplyVersion("0.05"), std::nullopt);
  EXPECT_EQ(ReplyVersion("12"), std::nullopt);
  EXPECT_EQ(ReplyVersion("1e300"), std::nullopt);
  EXPECT_EQ(ReplyVersion("inf"), std::nullopt);
  EXPECT_EQ(ReplyVersion("nan"), std::nullopt);
  EXPECT_EQ(ReplyVersion("<html>1.5"), std::nullopt);
  EXPECT_EQ(ReplyVersion(std::string("\0" "1.5", 4)), std::nullopt);  // stops at a zero byte
}

TEST(UpdateReply, OwnVersionIsNotNewer) {
  EXPECT_FALSE(IsNewerVersion(*ReplyVersion("0.95")));
  EXPECT_TRUE(IsNewerVersion(*ReplyVersion("0.96")));
  EXPECT_FALSE(IsNewerVersion(*ReplyVersion("0.5")));
}

TEST(UpdateReply, FrameAddressNamesHostAndVersionFile) {
  const auto next = FollowLink(
      "<HTML><FRAMESET><FRAME SRC=\"http://mirror.example.net/site/\"></FRAMESET></HTML>");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->host, "mirror.example.net");
  EXPECT_EQ(next->path, "/site//version.txt");
}

TEST(UpdateReply, PrefixesAreTriedInTableOrderNotByPosition) {
  // The lower-case anchor comes first in the text, but the upper-case prefix is tried first.
  const auto next = FollowLink(
      "<a href=\"http://second/b.txt\"> <A HREF=\"http://first/a.txt\">");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->host, "first");
  EXPECT_EQ(next->path, "/a.txt");
  // Mixed case is not recognised.
  EXPECT_EQ(FollowLink("<A href=\"http://h/v.txt\">"), std::nullopt);
  EXPECT_EQ(FollowLink("<Frame Src=\"http://h/v.txt\">"), std::nullopt);
}

TEST(UpdateReply, LinkPathLosesTrailingBlanksAndNeedsSlashAndQuote) {
  const auto next = FollowLink("<a href=\"http://h/v.txt \t\r\n\">");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->path, "/v.txt");
  EXPECT_EQ(FollowLink("<a href=\"http://host-without-slash\">"), std::nullopt);
  EXPECT_EQ(FollowLink("<a href=\"http://h/never-closed"), std::nullopt);
  EXPECT_EQ(FollowLink("no links here"), std::nullopt);
}

TEST(UpdateReply, OverlongHostOrPathIsNotFollowed) {
  const std::string host255(255, 'h');
  const std::string host256(256, 'h');
  EXPECT_TRUE(FollowLink("<a href=\"http://" + host255 + "/v.txt\">"));
  EXPECT_EQ(FollowLink("<a href=\"http://" + host256 + "/v.txt\">"), std::nullopt);
  // "/version.txt" appended to a 250-character directory path would pass 255.
  const std::string dir = "/" + std::string(248, 'd') + "/";
  EXPECT_EQ(FollowLink("<a href=\"http://h" + dir + "\">"), std::nullopt);
}

// Canned replies by host and path; every request is recorded.
struct CannedServer {
  explicit CannedServer(std::map<std::string, std::string> canned = {})
      : replies(std::move(canned)) {}
  std::map<std::string, std::string> replies;  // "host path" -> body
  std::vector<UpdateRequest> asked;
  std::optional<std::string> operator()(const UpdateRequest& r) {
    asked.push_back(r);
    auto it = replies.find(r.host + " " + r.path);
    if (it == replies.end()) return std::nullopt;  // not reachable
    return it->second;
  }
};

UpdateWalk Walk(CannedServer& server) {
  return WalkToVersion("update.test", [&](const UpdateRequest& r) { return server(r); });
}

TEST(UpdateWalk, FrontPageWithTheNumber) {
  CannedServer server{{{"update.test /", "1.02"}}};
  const UpdateWalk walk = Walk(server);
  EXPECT_EQ(walk.version, 1.02f);
  EXPECT_EQ(walk.requests, 1);
}

TEST(UpdateWalk, FramesetLeadsToSecondHostThenLinkWithoutSlashIsRequestedUnchanged) {
  CannedServer server{{
      {"update.test /", "<frame src=\"http://mirror.test/site/\">"},
      {"mirror.test /site//version.txt", "<a href=\"http://files.test/v/latest.txt\">"},
      {"files.test /v/latest.txt", "0.96\r\n"},
  }};
  const UpdateWalk walk = Walk(server);
  EXPECT_EQ(walk.version, 0.96f);
  ASSERT_EQ(server.asked.size(), 3u);
  EXPECT_EQ(server.asked[1], (UpdateRequest{"mirror.test", "/site//version.txt"}));
  EXPECT_EQ(server.asked[2], (UpdateRequest{"files.test", "/v/latest.txt"}));
}

TEST(UpdateWalk, EmptyReplyIsAskedAgainAndCountsAsARequest) {
  int calls = 0;
  const UpdateWalk walk = WalkToVersion("h", [&](const UpdateRequest&) -> std::optional<std::string> {
    return ++calls < 3 ? "" : "2.5";
  });
  EXPECT_EQ(walk.version, 2.5f);
  EXPECT_EQ(walk.requests, 3);
}

TEST(UpdateWalk, StopsAfterTenRequests) {
  // A page that links to itself forever.
  CannedServer loop{{{"update.test /", "<a href=\"http://update.test/\">"},
                     {"update.test //version.txt", "<a href=\"http://update.test/\">"}}};
  UpdateWalk walk = Walk(loop);
  EXPECT_EQ(walk.version, std::nullopt);
  EXPECT_EQ(walk.requests, kUpdateMaxRequests);

  int calls = 0;
  walk = WalkToVersion("h", [&](const UpdateRequest&) -> std::optional<std::string> {
    ++calls;
    return std::string();
  });
  EXPECT_EQ(walk.version, std::nullopt);
  EXPECT_EQ(calls, kUpdateMaxRequests);
}

TEST(UpdateWalk, FailedRequestOrDeadEndEndsAtOnce) {
  CannedServer unreachable;
  UpdateWalk walk = Walk(unreachable);
  EXPECT_EQ(walk.version, std::nullopt);
  EXPECT_EQ(walk.requests, 1);

  CannedServer dead_end{{{"update.test /", "<html>Nothing to see</html>"}}};
  walk = Walk(dead_end);
  EXPECT_EQ(walk.version, std::nullopt);
  EXPECT_EQ(walk.requests, 1);
}

TEST(UpdateWalk, OnlyTheFirst2048BytesOfAReplyCount) {
  std::string page(kUpdateReplyMaxBytes, ' ');
  page += "<a href=\"http://later/v.txt\">";
  CannedServer server{{{"update.test /", page}, {"later /v.txt", "3"}}};
  const UpdateWalk walk = Walk(server);
  EXPECT_EQ(walk.version, std::nullopt);
  EXPECT_EQ(server.asked.size(), 1u);
}

TEST(UpdateNotice, NamesVersionAndHomePage) {
  EXPECT_EQ(VersionText(1.02f), "1.02");
  EXPECT_EQ(VersionText(2.0f), "2");
  EXPECT_EQ(UpdateNotice(1.02f),
            "A newer Quillmark (v1.02) is out. Get it from:\nhttp://www.quillmark-editor.org/");
}

}  // namespace
}  // namespace qm
