#include "web/update_check_win32.h"

#include <process.h>
#include <wininet.h>

#include <memory>
#include <utility>

#include "base/handles_win32.h"

namespace qm {
namespace {

// One check's state. The helper thread writes the walk; the waiting thread reads it only after
// the helper has ended, so the thread's end orders the two. An abandoned helper keeps the state
// alive through its own reference.
struct CheckState {
  UpdateServer server;
  DWORD started = 0;  // GetTickCount at the start
  UpdateWalk walk;
};

DWORD Remaining(const CheckState& state) {
  const DWORD elapsed = GetTickCount() - state.started;
  return elapsed >= state.server.deadline_ms ? 0 : state.server.deadline_ms - elapsed;
}

void SetTimeouts(HINTERNET session, DWORD ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(session, option, &ms, sizeof ms);
  }
  DWORD retries = 1;
  InternetSetOptionA(session, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
}

// One GET of host/path on the server's port: the body (at most the reply limit), or nullopt
// when the request could not be sent or the deadline has passed.
std::optional<std::string> Fetch(const CheckState& state, HINTERNET session,
                                 const UpdateRequest& request) {
  const DWORD remaining = Remaining(state);
  if (remaining == 0) return std::nullopt;
  SetTimeouts(session, remaining);

  InternetHandle connection(InternetConnectA(session, request.host.c_str(), state.server.port,
                                             nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return std::nullopt;
  // Always from the server: a cached version file would hide a new release.
  InternetHandle http(HttpOpenRequestA(connection.get(), nullptr, request.path.c_str(), nullptr,
                                       nullptr, nullptr,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!http || !HttpSendRequestA(http.get(), nullptr, 0, nullptr, 0)) return std::nullopt;

  std::string reply(kUpdateReplyMaxBytes, '\0');
  size_t stored = 0;
  while (stored < reply.size()) {
    DWORD got = 0;
    if (!InternetReadFile(http.get(), reply.data() + stored,
                          static_cast<DWORD>(reply.size() - stored), &got) ||
        got == 0) {
      break;
    }
    stored += got;
  }
  reply.resize(stored);
  return reply;
}

void RunCheck(CheckState* state) {
  InternetHandle session(
      InternetOpenA(kUpdateAgentName, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return;
  state->walk = WalkToVersion(state->server.host, [&](const UpdateRequest& request) {
    return Fetch(*state, session.get(), request);
  });
}

unsigned __stdcall CheckThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<CheckState>> state(
      static_cast<std::shared_ptr<CheckState>*>(parameter));
  RunCheck(state->get());
  return 0;
}

}  // namespace

UpdateCheckResult CheckPublishedVersion(const UpdateServer& server) {
  auto state = std::make_shared<CheckState>();
  state->server = server;
  state->started = GetTickCount();

  auto thread_reference = std::make_unique<std::shared_ptr<CheckState>>(state);
  const uintptr_t started =
      _beginthreadex(nullptr, 0, CheckThread, thread_reference.get(), 0, nullptr);
  if (started == 0) return {};
  thread_reference.release();  // the helper owns its reference now
  KernelHandle thread(reinterpret_cast<HANDLE>(started));

  UpdateCheckResult result;
  // A little beyond the deadline: the helper's own requests stop at the deadline.
  if (WaitForSingleObject(thread.get(), server.deadline_ms + 500) != WAIT_OBJECT_0) {
    result.timed_out = true;
    return result;
  }
  result.version = state->walk.version;
  result.requests = state->walk.requests;
  return result;
}

std::string RunUpdateCommand(const UpdateServer& server) {
  static bool checked = false;
  if (checked) return {};
  checked = true;
  const UpdateCheckResult result = CheckPublishedVersion(server);
  if (!result.version || !IsNewerVersion(*result.version)) return {};
  return UpdateNotice(*result.version);
}

}  // namespace qm
