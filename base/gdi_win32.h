// Owning wrappers for GDI objects and device contexts, so that every bitmap, brush, region,
// font and DC is released on every path out of a function.
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
// The wrappers are move-only; a null handle is "empty" and is not released.
#pragma once

#include <windows.h>

#include <utility>

namespace qm {

// A GDI object of type T (HBITMAP, HBRUSH, HRGN, HFONT, HPEN) deleted with DeleteObject.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(other.release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~GdiObject() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  T release() { return std::exchange(handle_, nullptr); }
  void reset(T handle = nullptr) {
    if (handle_ != nullptr && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = nullptr;
};

using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiRegion = GdiObject<HRGN>;
using GdiFont = GdiObject<HFONT>;
using GdiPen = GdiObject<HPEN>;

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
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
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

}  // namespace qm
