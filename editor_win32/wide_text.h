#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kxc2::win32 {

// The core speaks UTF-8; Windows' wide calls speak UTF-16.
inline std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring wide(size_t(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
  return wide;
}

inline std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// The object a window procedure serves, handed to CreateWindowExW as its
// last argument and kept in the window from WM_NCCREATE on.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message != WM_NCCREATE) return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(object));
  return object;
}

// Every position is the Qt layout's at 96 DPI.
inline int Scaled(int pixelsAt96, UINT dpi) { return MulDiv(pixelsAt96, int(dpi), 96); }

}  // namespace kxc2::win32
