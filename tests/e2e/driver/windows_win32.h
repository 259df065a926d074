// Finding and reading the windows of a started program.
//
//   HWND main = WaitForWindow(pid, {"Quillmark", std::nullopt}, 30000);
//   WindowInfo info = Describe(main);                // class, caption, rectangles, styles
//   HWND box = FindControl(main, 1006);              // any descendant with that control id
//   std::string text = ReadText(box);                // WM_GETTEXT, works across processes
//
// Every wait polls until the condition holds or the timeout (milliseconds) passes.
// Messages to the program's windows are sent with a timeout, so a hung program fails the step
// instead of hanging the driver.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qm::e2e {

struct WindowQuery {
  std::string class_name;             // exact, e.g. "Quillmark" or "#32770" for dialogs
  std::optional<std::string> caption;  // exact when given
};

struct WindowInfo {
  HWND handle = nullptr;
  std::string class_name;
  std::string caption;
  RECT window{};  // screen coordinates
  RECT client{};  // client area in screen coordinates
  LONG style = 0;
  LONG ex_style = 0;
  bool visible = false;
  bool enabled = false;
};

// Visible top-level windows of a process, in Z order.
std::vector<HWND> TopLevelWindowsOf(DWORD process_id);
HWND WaitForWindow(DWORD process_id, const WindowQuery& query, DWORD timeout_ms);
// True once `window` no longer exists.
bool WaitUntilGone(HWND window, DWORD timeout_ms);

WindowInfo Describe(HWND window);
std::string ClassNameOf(HWND window);
// The first descendant (depth first) with that control id; null when there is none.
HWND FindControl(HWND parent, int control_id);
// The text through WM_GETTEXT (an edit box's contents too); nullopt when the program does
// not answer within ten seconds. WindowInfo::caption is the stored window text instead.
std::optional<std::string> ReadText(HWND window);

// One line describing the window, for logs: class, caption, position, sizes, styles.
std::string DescribeLine(const WindowInfo& info);

// Scenarios are UTF-8; the programs' windows hold texts in the system's code page. ASCII is
// the same in both. ToSystemText gives nullopt for a letter the code page cannot hold.
std::optional<std::string> ToSystemText(const std::string& utf8);
std::string FromSystemText(const std::string& text);

}  // namespace qm::e2e
