// The update check: asks the update host for the newest published version (web/update_reply.h
// walks the replies) and tells the main window when it is newer than this program.
//
// How it runs in the editor:
//   - start: the editor's message loop posts command kIdUpdateCheck (1023) to the main window
//     once, the first time its queue runs dry after the window was created; by then the window
//     and every control have been painted, so the check never holds a half-drawn window;
//   - command kIdUpdateCheck: the main window calls RunUpdateCommand(); the first call in a run
//     checks, every later call does nothing, so nothing can start the check a second time (a
//     newer version is never announced by posting the command again);
//   - a newer version: RunUpdateCommand returns the notice (kMsgNewerVersion, for example
//     "A newer Quillmark (v1.02) is out. Get it from:\nhttp://www.quillmark-editor.org/"),
//     which the main window shows in the message panel; otherwise it returns an empty text and
//     the panel keeps what it shows.
//
//   case qm::skin::kIdUpdateCheck:
//     if (std::string notice = qm::RunUpdateCommand(); !notice.empty()) Status(notice);
//
// The check blocks the calling window for at most `deadline_ms` (the network work runs on a
// helper thread that is abandoned when the deadline passes, so even a hanging name lookup cannot
// hold the window); WinINet's connect, send and receive timeouts are set to the same bound.
// Every failure ends the check silently.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "web/update_reply.h"
#include "web/web_addresses.h"

namespace qm {

struct UpdateServer {
  std::string host = kUpdateHost;
  unsigned short port = kUpdatePort;  // every request of the walk goes to this port
  DWORD deadline_ms = 4000;           // the whole check, all requests together
};

struct UpdateCheckResult {
  std::optional<float> version;  // the published version, when the walk reached one
  int requests = 0;
  bool timed_out = false;        // the deadline passed before the walk ended
};

// One check against `server`; blocks for at most server.deadline_ms (plus thread start).
UpdateCheckResult CheckPublishedVersion(const UpdateServer& server = {});

// Command 1023: the first call of a run checks `server` (the update host) and returns the
// newer-version notice, or an empty text; later calls return an empty text at once.
std::string RunUpdateCommand(const UpdateServer& server = {});

}  // namespace qm
