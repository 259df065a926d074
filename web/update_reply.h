// The update check's walk from the update host's front page to the published version number,
// without the network: replies come from a fetch function, so the same walk runs against
// WinINet in the editor and against canned replies in tests.
//
//   UpdateWalk walk = WalkToVersion(kUpdateHost, [&](const UpdateRequest& r) { ... });
//   if (walk.version && IsNewerVersion(*walk.version)) ShowStatus(UpdateNotice(*walk.version));
//
// The walk starts with the path "/" on the update host and makes at most kUpdateMaxRequests
// requests. For each reply (at most kUpdateReplyMaxBytes bytes, taken up to its first zero byte):
//   - an empty reply is asked again (it uses up one request);
//   - a reply that starts with a number (strtod's rules: leading white space skipped) of at
//     least 0.1f (compared in double precision, so the text 0.1 itself is below it) and at most
//     10 (after rounding to single precision) gives the version, rounded to single precision;
//   - otherwise the first of the prefixes <A HREF="http://, <a href="http://,
//     <FRAME SRC="http://, <frame src="http:// (in this order, case as written) found anywhere
//     in the reply names the next request: the text up to the next '/' is the host, from that
//     '/' up to the next '"' (trailing blanks, tabs, CR and LF removed) is the path, and a path
//     ending in '/' gets "/version.txt" appended (so "/site/" asks "/site//version.txt");
//   - a reply without a number in range and without such a link, a link without the '/' or the
//     closing quote, or a host or path longer than kUpdateTextMaxChars ends the walk.
// A fetch that fails (no connection, refused request, deadline passed) ends the walk at once.
//
// A published version is newer when, in single precision, it is above the own version 0.95.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

constexpr int kUpdateMaxRequests = 10;
constexpr size_t kUpdateReplyMaxBytes = 2048;
constexpr size_t kUpdateTextMaxChars = 255;  // host name and request path
constexpr float kOwnVersion = 0.95f;
constexpr const char* kUpdateAgentName = "HTTPGET";
constexpr const char* kVersionFileName = "/version.txt";
// Status string of the newer-version notice: "%s" stands for the version, then the address.

struct UpdateRequest {
  std::string host;
  std::string path;
  bool operator==(const UpdateRequest&) const = default;
};

// The reply body (the caller keeps at most kUpdateReplyMaxBytes), or nullopt when the request
// could not be sent.
using UpdateFetch = std::function<std::optional<std::string>(const UpdateRequest&)>;

struct UpdateWalk {
  std::optional<float> version;  // the published version, when one was reached
  int requests = 0;              // requests made
};

UpdateWalk WalkToVersion(std::string_view start_host, const UpdateFetch& fetch);

// The version a reply holds, when its leading number lies in the plausible range.
std::optional<float> ReplyVersion(std::string_view reply);
// The request a reply's first recognised link leads to; nullopt when there is none to follow.
std::optional<UpdateRequest> FollowLink(std::string_view reply);

bool IsNewerVersion(float published);

// The version as the notice shows it: up to four significant digits, "1.02", "0.96", "2".
std::string VersionText(float version);
// The message-panel notice of a newer version: string kMsgNewerVersion with the version and the program's
// home page put in place of its two "%s" (no printf: a language file's text is not a format).
std::string UpdateNotice(float version);

}  // namespace qm
