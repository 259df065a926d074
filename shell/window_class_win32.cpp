#include "shell/window_class_win32.h"

#include <utility>

namespace qm {

WindowClass::WindowClass(const WNDCLASSA& wc) : name_(wc.lpszClassName ? wc.lpszClassName : "") {
  if (!name_.empty() && RegisterClassA(&wc) != 0) instance_ = wc.hInstance;
}

WindowClass::~WindowClass() { Unregister(); }

WindowClass::WindowClass(WindowClass&& other) noexcept
    : name_(std::move(other.name_)), instance_(std::exchange(other.instance_, nullptr)) {}

WindowClass& WindowClass::operator=(WindowClass&& other) noexcept {
  if (this != &other) {
    Unregister();
    name_ = std::move(other.name_);
    instance_ = std::exchange(other.instance_, nullptr);
  }
  return *this;
}

void WindowClass::Unregister() {
  if (instance_ == nullptr) return;
  UnregisterClassA(name_.c_str(), instance_);
  instance_ = nullptr;
}

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace qm
