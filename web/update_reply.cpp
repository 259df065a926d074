#include "web/update_reply.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/string_ids.h"
#include "shell/language.h"
#include "web/web_addresses.h"

namespace qm {
namespace {

// The plausible range: from 0.1 in single precision (compared in double precision, so the
// text "0.1" is below it) to 10 after rounding to single precision.
constexpr double kLowestVersion = static_cast<double>(0.1f);
constexpr float kHighestVersion = 10.0f;

constexpr std::array<std::string_view, 4> kLinkPrefixes = {
    "<A HREF=\"http://", "<a href=\"http://", "<FRAME SRC=\"http://", "<frame src=\"http://"};

// The reply as the walk reads it: up to its first zero byte and at most the reply limit.
std::string_view ReplyText(std::string_view reply) {
  reply = reply.substr(0, kUpdateReplyMaxBytes);
  return reply.substr(0, reply.find('\0'));
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty()) {
    const char c = text.back();
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<float> ReplyVersion(std::string_view reply) {
  const std::string text(ReplyText(reply));  // zero-terminated for strtod
  const double number = std::strtod(text.c_str(), nullptr);
  // Beyond 16 the value rounds above 10 anyway; the bound also keeps the narrowing defined.
  if (!(number >= kLowestVersion) || !(number <= 16.0)) return std::nullopt;
  const float version = static_cast<float>(number);
  if (!(version <= kHighestVersion)) return std::nullopt;
  return version;
}

std::optional<UpdateRequest> FollowLink(std::string_view reply) {
  const std::string_view text = ReplyText(reply);
  size_t after_prefix = std::string_view::npos;
  for (std::string_view prefix : kLinkPrefixes) {
    if (size_t at = text.find(prefix); at != std::string_view::npos) {
      after_prefix = at + prefix.size();
      break;
    }
  }
  if (after_prefix == std::string_view::npos) return std::nullopt;
  const size_t slash = text.find('/', after_prefix);
  if (slash == std::string_view::npos) return std::nullopt;
  const size_t quote = text.find('"', slash);
  if (quote == std::string_view::npos) return std::nullopt;

  UpdateRequest next;
  next.host = std::string(text.substr(after_prefix, slash - after_prefix));
  next.path = std::string(TrimTrailingBlanks(text.substr(slash, quote - slash)));
  if (next.path.back() == '/') next.path += kVersionFileName;
  if (next.host.size() > kUpdateTextMaxChars || next.path.size() > kUpdateTextMaxChars) {
    return std::nullopt;
  }
  return next;
}

UpdateWalk WalkToVersion(std::string_view start_host, const UpdateFetch& fetch) {
  UpdateWalk walk;
  UpdateRequest request{std::string(start_host.substr(0, kUpdateTextMaxChars)), "/"};
  while (walk.requests < kUpdateMaxRequests) {
    ++walk.requests;
    const std::optional<std::string> reply = fetch(request);
    if (!reply) return walk;
    if (ReplyText(*reply).empty()) continue;  // asked again; it costs one request
    if (std::optional<float> version = ReplyVersion(*reply)) {
      walk.version = version;
      return walk;
    }
    std::optional<UpdateRequest> next = FollowLink(*reply);
    if (!next) return walk;
    request = std::move(*next);
  }
  return walk;
}

bool IsNewerVersion(float published) { return published > kOwnVersion; }

std::string VersionText(float version) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", static_cast<double>(version));
  return text;
}

std::string UpdateNotice(float version) {
  const std::string values[] = {VersionText(version), kProgramHomePage};
  const std::string_view pattern = Text(kMsgNewerVersion);
  std::string notice;
  size_t next_value = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
        next_value < std::size(values)) {
      notice += values[next_value++];
      ++i;
    } else {
      notice += pattern[i];
    }
  }
  return notice;
}

}  // namespace qm
