// Owning holders for every kind of Win32 handle the programs use, so that each one is given back
// on every path out of a function.
//
//   qm::MemoryDc dc(screen_dc);                    // CreateCompatibleDC, DeleteDC at scope end
//   qm::GdiBitmap bmp(CreateCompatibleBitmap(screen_dc, 82, 82));
//   qm::SelectInDc keep(dc.get(), bmp.get());      // selected until scope end, then restored
//   BitBlt(dc.get(), ...);
//   HBITMAP handed_over = bmp.release();           // give ownership away
//
//   qm::WindowDc wdc(hwnd);                        // GetDC / ReleaseDC
//   qm::PaintDc paint(hwnd);                       // BeginPaint / EndPaint; paint.dc() may be 0
//   qm::SavedDc saved(dc);                         // SaveDC / RestoreDC(-1)
//
//   qm::KernelHandle file(CreateFileA(...));       // CloseHandle; INVALID_HANDLE_VALUE is empty
//   qm::FindHandle search(FindFirstFileA(...));    // FindClose
//   qm::RegistryKey key(opened);                   // RegCloseKey (base/registry_win32.h opens)
//   qm::InternetHandle session(InternetOpenA(...));// InternetCloseHandle
//   qm::GlobalMemory block(GlobalAlloc(...));      // GlobalFree
//   qm::GlobalLockScope lock(block.get());         // GlobalLock / GlobalUnlock; lock.data()
//   qm::ShellItemList list(SHBrowseForFolderA(...));   // CoTaskMemFree
//   qm::DroppedFiles drop((HDROP)wparam);          // DragFinish
//   qm::ComScope com;                              // CoInitialize / CoUninitialize
//   qm::ComPtr<IStream> stream;                    // Release(); stream.out() for creators
//   qm::ClipboardScope clipboard(owner);           // OpenClipboard / CloseClipboard
//
// The holders are move-only (the scopes neither copy nor move); an empty handle is not released.
// Only the release functions a program calls are linked into it.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstdint>
#include <utility>

namespace qm {

// How each handle type is given back, and which values mean "no handle".
namespace handle_policy {
struct NullIsEmpty {
  template <typename T>
  static bool Held(T handle) {
    return handle != nullptr;
  }
};
struct GdiObject : NullIsEmpty {
  static void Free(HGDIOBJ object) { DeleteObject(object); }
};
struct Kernel {
  static bool Held(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE handle) { CloseHandle(handle); }
};
struct Find {
  static bool Held(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE handle) { FindClose(handle); }
};
struct Registry : NullIsEmpty {
  static void Free(HKEY key) { RegCloseKey(key); }
};
struct Internet : NullIsEmpty {
  static void Free(HINTERNET handle) { InternetCloseHandle(handle); }
};
struct Global : NullIsEmpty {
  static void Free(HGLOBAL block) { GlobalFree(block); }
};
struct TaskMemory : NullIsEmpty {
  static void Free(void* memory) { CoTaskMemFree(memory); }
};
struct Drop : NullIsEmpty {
  static void Free(HDROP drop) { DragFinish(drop); }
};
struct Window : NullIsEmpty {
  static void Free(HWND window) { DestroyWindow(window); }
};
}  // namespace handle_policy

// A handle of type T given back with Policy::Free at scope end.
template <typename T, typename Policy>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T handle) : handle_(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Owned() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return Policy::Held(handle_); }
  T release() { return std::exchange(handle_, T{}); }
  void reset(T handle = T{}) {
    if (Policy::Held(handle_) && handle_ != handle) Policy::Free(handle_);
    handle_ = handle;
  }

 private:
  T handle_{};
};

// GDI objects, deleted with DeleteObject.
template <typename T>
using GdiObject = Owned<T, handle_policy::GdiObject>;
using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiRegion = GdiObject<HRGN>;
using GdiFont = GdiObject<HFONT>;
using GdiPen = GdiObject<HPEN>;

using KernelHandle = Owned<HANDLE, handle_policy::Kernel>;  // files, threads, processes
using FindHandle = Owned<HANDLE, handle_policy::Find>;      // FindFirstFileA's search
using RegistryKey = Owned<HKEY, handle_policy::Registry>;
using InternetHandle = Owned<HINTERNET, handle_policy::Internet>;
using GlobalMemory = Owned<HGLOBAL, handle_policy::Global>;
using ShellItemList = Owned<PIDLIST_ABSOLUTE, handle_policy::TaskMemory>;
using DroppedFiles = Owned<HDROP, handle_policy::Drop>;  // a WM_DROPFILES drop, DragFinish
using OwnedWindow = Owned<HWND, handle_policy::Window>;  // a window this code made and destroys

// A memory DC (CreateCompatibleDC), deleted with DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible_with = nullptr) : dc_(CreateCompatibleDC(compatible_with)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's DC (GetDC; the screen's for a null window), released with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint. EndPaint runs even when BeginPaint gave no DC.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &ps_); }
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectInDc {
 public:
  SelectInDc(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  SelectInDc(const SelectInDc&) = delete;
  SelectInDc& operator=(const SelectInDc&) = delete;
  ~SelectInDc() {
    if (ok()) SelectObject(dc_, old_);
  }
  bool ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves a DC's whole state (colours, modes, selections, clip) and restores it at scope end.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(dc != nullptr ? SaveDC(dc) : 0) {}
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;
  ~SavedDc() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// GlobalLock for the length of a scope; data() is null when the lock failed.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  ~GlobalLockScope() {
    if (data_ != nullptr) GlobalUnlock(block_);
  }
  uint8_t* data() const { return static_cast<uint8_t*>(data_); }

 private:
  HGLOBAL block_;
  void* data_;
};

// COM on this thread for the length of a scope; a thread that already has COM keeps it as it is.
class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

// A COM interface pointer, Release()d at scope end.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that hand out a new reference; releases what was held.
  T** out() {
    reset();
    return &p_;
  }
  void** out_void() { return reinterpret_cast<void**>(out()); }
  void reset() {
    if (p_ != nullptr) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// The clipboard, open for the length of a scope.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != 0) {}
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  bool ok() const { return open_; }

 private:
  bool open_;
};

}  // namespace qm
