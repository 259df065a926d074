// Fuzzes the update check's walk over web server replies. The input is split at 0xFF bytes into
// the replies the walk receives in turn; a reply of the single byte 0xFE stands for a request that
// could not be sent. Properties: nothing crashes or reads out of bounds; the walk makes at most
// kUpdateMaxRequests requests, each naming a host and a path within kUpdateTextMaxChars, the path
// starting with '/'; every request after the first is the link of the reply before it; a version
// found lies in the plausible range and turns into a notice.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_files.h"
#include "web/update_reply.h"

using qm::fuzz::Check;

namespace {

constexpr char kReplySeparator = '\xFF';
constexpr std::string_view kFailedFetch = "\xFE";

std::vector<std::string_view> SplitReplies(std::string_view input) {
  std::vector<std::string_view> replies;
  for (;;) {
    const size_t at = input.find(kReplySeparator);
    replies.push_back(input.substr(0, at));
    if (at == std::string_view::npos) return replies;
    input.remove_prefix(at + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> replies = SplitReplies(input);

  size_t next = 0;
  std::optional<std::string_view> previous;
  const qm::UpdateWalk walk = qm::WalkToVersion("update.example", [&](const qm::UpdateRequest& request) {
    Check(!request.host.empty() || next > 0);
    Check(request.host.size() <= qm::kUpdateTextMaxChars && request.path.size() <= qm::kUpdateTextMaxChars);
    Check(!request.path.empty() && request.path.front() == '/');
    if (previous && !previous->empty() && previous->find('\0') != 0) {
      const std::optional<qm::UpdateRequest> link = qm::FollowLink(*previous);
      Check(link.has_value() && *link == request);
    }
    if (next >= replies.size()) return std::optional<std::string>();
    const std::string_view reply = replies[next++];
    previous = reply;
    if (reply == kFailedFetch) return std::optional<std::string>();
    return std::optional<std::string>(reply);
  });
  Check(walk.requests >= 1 && walk.requests <= qm::kUpdateMaxRequests);
  if (walk.version) {
    Check(*walk.version >= 0.1f && *walk.version <= 10.0f);
    Check(!qm::VersionText(*walk.version).empty());
    (void)qm::UpdateNotice(*walk.version);
  }
  for (std::string_view reply : replies) (void)qm::ReplyVersion(reply);
  return 0;
}
