// A registered window class that is unregistered when it goes out of scope.
//
//   qm::WindowClass main_class(wc);       // RegisterClassA(&wc)
//   if (!main_class.registered()) -> error
//   ...
//   main_class.Unregister();              // explicit, where the order matters; else on scope exit
//
// Movable, not copyable. The class name is copied, so `wc.lpszClassName` need not outlive it.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

class WindowClass {
 public:
  WindowClass() = default;
  explicit WindowClass(const WNDCLASSA& wc);
  ~WindowClass();
  WindowClass(WindowClass&& other) noexcept;
  WindowClass& operator=(WindowClass&& other) noexcept;
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

  bool registered() const { return instance_ != nullptr; }
  const char* name() const { return name_.c_str(); }
  void Unregister();

 private:
  std::string name_;
  HINSTANCE instance_ = nullptr;  // set while registered
};

// GetMessageA / TranslateMessage / DispatchMessageA for every window until WM_QUIT; returns
// the quit message's code. A GetMessageA failure ends the loop with -1.
int RunMessageLoop();

// The screen's size in pixels (GetSystemMetrics).
int ScreenWidth();
int ScreenHeight();

}  // namespace qm
