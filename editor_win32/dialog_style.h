#pragma once

#include <windows.h>

namespace kxc2::win32 {

// The dots per inch of the monitor a window is on; the primary screen's
// for no window.
UINT DpiOf(HWND window);

// The faces the Qt windows name, at a pixel size given at 96 DPI.
HFONT CreateSansSerifFont(int pixelsAt96, UINT dpi, bool bold = false);  // "MS Sans Serif"
HFONT CreateSerifFont(int pixelsAt96, UINT dpi, bool bold);  // "Times New Roman"

// The window's outer size for a client area of this size.
SIZE OuterSize(HWND window, int clientWidth, int clientHeight);
// Sizes the window for its client area and centres it on the work area of
// the monitor it (or else its owner) is on, as the Qt windows do on showing.
void SizeAndCentre(HWND window, int clientWidth, int clientHeight);

// A text's extent in a font.
SIZE TextExtent(HWND window, HFONT font, const wchar_t* text);

// Owns one GDI object.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { reset(); }
  void reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle get() const { return handle_; }
  operator Handle() const { return handle_; }

 private:
  Handle handle_ = nullptr;
};

}  // namespace kxc2::win32
