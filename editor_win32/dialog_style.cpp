#include "editor_win32/dialog_style.h"

namespace kxc2::win32 {
namespace {

HFONT CreateFace(const wchar_t* face, int pixelsAt96, UINT dpi, bool bold, BYTE family) {
  // A negative height is the em size, which is what Qt's pixel size means.
  // Rounded down: a face rounded up outgrows the scaled boxes it was laid
  // out for, and a wrapped label gains a line.
  return CreateFontW(-int(unsigned(pixelsAt96) * dpi / 96), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, family, face);
}

}  // namespace

UINT DpiOf(HWND window) {
  if (window != nullptr) return GetDpiForWindow(window);
  HDC screen = GetDC(nullptr);
  const UINT dpi = UINT(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return dpi;
}

HFONT CreateSansSerifFont(int pixelsAt96, UINT dpi, bool bold) {
  return CreateFace(L"MS Sans Serif", pixelsAt96, dpi, bold, VARIABLE_PITCH | FF_SWISS);
}

HFONT CreateSerifFont(int pixelsAt96, UINT dpi, bool bold) {
  return CreateFace(L"Times New Roman", pixelsAt96, dpi, bold, VARIABLE_PITCH | FF_ROMAN);
}

SIZE OuterSize(HWND window, int clientWidth, int clientHeight) {
  RECT bounds{0, 0, clientWidth, clientHeight};
  AdjustWindowRectExForDpi(&bounds, DWORD(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongPtrW(window, GWL_EXSTYLE)), DpiOf(window));
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void SizeAndCentre(HWND window, int clientWidth, int clientHeight) {
  const SIZE outer = OuterSize(window, clientWidth, clientHeight);
  HWND placed = GetWindow(window, GW_OWNER) != nullptr ? GetWindow(window, GW_OWNER) : window;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(placed, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int left = work.left + (work.right - work.left - outer.cx) / 2;
  const int top = work.top + (work.bottom - work.top - outer.cy) / 2;
  SetWindowPos(window, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TextExtent(HWND window, HFONT font, const wchar_t* text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text, int(wcslen(text)), &extent);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return extent;
}

}  // namespace kxc2::win32
