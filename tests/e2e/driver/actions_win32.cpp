#include "tests/e2e/driver/actions_win32.h"

namespace qm::e2e {
namespace {

constexpr UINT kAnswerMs = 10000;

}  // namespace

bool PostClose(HWND window) { return PostMessageA(window, WM_CLOSE, 0, 0) != FALSE; }

bool PostCommand(HWND window, int id, int notification, HWND control) {
  return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, notification),
                      reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool Click(HWND button) { return PostMessageA(button, BM_CLICK, 0, 0) != FALSE; }

bool PressKey(HWND window, UINT virtual_key) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtual_key, 0)) << 16;
  const LPARAM down = 1 | scan;
  const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);  // previous state down, released
  return PostMessageA(window, WM_KEYDOWN, virtual_key, down) != FALSE &&
         PostMessageA(window, WM_KEYUP, virtual_key, up) != FALSE;
}

bool SetText(HWND window, const std::string& text) {
  DWORD_PTR accepted = 0;
  return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_NORMAL, kAnswerMs, &accepted) != 0 &&
         accepted != 0;
}

}  // namespace qm::e2e
