// The home-page launcher: opens a web address in the user's browser.
//
//   if (qm::OpenHomePage(qm::kDesignerHomePage)) { ... }   // command 1010, then status 300
//
// First the shell runs the verb "explore" on the address; a result above 32 is success. When
// the shell declines, the browser command registered for ".htm" files
// (HKEY_CLASSES_ROOT\.htm -> class, HKEY_CLASSES_ROOT\<class>\shell\open\command) is cut at its
// "%1" placeholder, given one space and the address (web/browser_command.h) and started with
// WinExec. Returns true when a browser was started. An empty address, a missing association or
// a command line that would not fit 520 bytes starts nothing and returns false. The launcher
// shows nothing itself and does not wait for the browser.
#pragma once

#include <windows.h>

#include <string>

#include "web/web_addresses.h"

namespace qm {

bool OpenHomePage(const char* address);

// Reads the unnamed default value of root\subkey (at most 260 bytes) into *out. Returns 0 on
// success, else the registry's error code, and leaves *out unchanged.
LONG ReadRegistryDefault(HKEY root, const char* subkey, std::string* out);

}  // namespace qm
