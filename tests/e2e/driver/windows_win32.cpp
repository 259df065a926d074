#include "tests/e2e/driver/windows_win32.h"

#include <cstdio>
#include <vector>

namespace qm::e2e {
namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kAnswerMs = 10000;  // how long a program may take to answer one message

struct Collect {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* c = reinterpret_cast<Collect*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == c->process_id && IsWindowVisible(window)) c->found.push_back(window);
  return TRUE;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<ControlSearch*>(param);
  if (GetDlgCtrlID(window) == s->id) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

// The window's own stored text. For another process's window GetWindowTextA reads it without
// sending a message, so it works even while the program is busy (captions, static texts,
// button labels); an edit box's contents need ReadText.
std::string CaptionOf(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD process_id) {
  Collect c{process_id, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&c));
  return c.found;
}

std::string ClassNameOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND WaitForWindow(DWORD process_id, const WindowQuery& query, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND w : TopLevelWindowsOf(process_id)) {
      if (ClassNameOf(w) != query.class_name) continue;
      if (query.caption && CaptionOf(w) != *query.caption) continue;
      return w;
    }
    if (GetTickCount() - start >= timeout_ms) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitUntilGone(HWND window, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(kPollMs);
  }
  return true;
}

WindowInfo Describe(HWND window) {
  WindowInfo info;
  info.handle = window;
  info.class_name = ClassNameOf(window);
  info.caption = CaptionOf(window);
  GetWindowRect(window, &info.window);
  RECT client{};
  GetClientRect(window, &client);
  POINT corner{0, 0};
  ClientToScreen(window, &corner);
  info.client = RECT{corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
  info.style = GetWindowLongA(window, GWL_STYLE);
  info.ex_style = GetWindowLongA(window, GWL_EXSTYLE);
  info.visible = IsWindowVisible(window) != FALSE;
  info.enabled = IsWindowEnabled(window) != FALSE;
  return info;
}

HWND FindControl(HWND parent, int control_id) {
  ControlSearch s{control_id, nullptr};
  EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::optional<std::string> ReadText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerMs, &length)) {
    return std::nullopt;
  }
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, kAnswerMs, &copied)) {
    return std::nullopt;
  }
  return std::string(text.data(), copied < text.size() ? copied : text.size() - 1);
}

std::string DescribeLine(const WindowInfo& info) {
  char line[512];
  std::snprintf(line, sizeof line,
                "class=\"%s\" caption=\"%s\" window=%ldx%ld at (%ld,%ld) client=%ldx%ld at "
                "(%ld,%ld) style=0x%08lX exstyle=0x%08lX%s%s",
                info.class_name.c_str(), info.caption.c_str(), info.window.right - info.window.left,
                info.window.bottom - info.window.top, info.window.left, info.window.top,
                info.client.right - info.client.left, info.client.bottom - info.client.top,
                info.client.left, info.client.top, static_cast<unsigned long>(info.style),
                static_cast<unsigned long>(info.ex_style), info.visible ? "" : " hidden",
                info.enabled ? "" : " disabled");
  return line;
}

namespace {

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::optional<std::string> Recode(const std::string& text, UINT from, UINT to) {
  if (IsAscii(text)) return text;
  const int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  BOOL lost = FALSE;
  BOOL* lost_flag = to == CP_UTF8 ? nullptr : &lost;  // UTF-8 holds every letter
  const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int m = WideCharToMultiByte(to, flags, wide.data(), n, nullptr, 0, nullptr, lost_flag);
  if (m <= 0 || lost) return std::nullopt;
  std::string out(static_cast<size_t>(m), '\0');
  WideCharToMultiByte(to, flags, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

}  // namespace

std::optional<std::string> ToSystemText(const std::string& utf8) { return Recode(utf8, CP_UTF8, CP_ACP); }

std::string FromSystemText(const std::string& text) { return Recode(text, CP_ACP, CP_UTF8).value_or(text); }

}  // namespace qm::e2e
