// "About KxC2Map": white Times New Roman on green, as the Qt window.
#include "editor_win32/about_window.h"

#include <algorithm>
#include <map>

#include "editor_win32/dialog_style.h"
#include "editor_win32/wide_text.h"

namespace kxc2::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KxC2MapAbout";
constexpr COLORREF kGreen = 0x00008000;
constexpr int kWidth = 275;
constexpr int kHeight = 119;

struct AboutState {
  UINT dpi = 96;
  GdiObject<HFONT> title;
  GdiObject<HFONT> credits;
  GdiObject<HBRUSH> green;
};

std::map<HWND, HWND> windowsByOwner;

void MakeFonts(AboutState& state) {
  state.title.reset(CreateSerifFont(21, state.dpi, true));
  state.credits.reset(CreateSerifFont(16, state.dpi, false));
}

void Paint(HWND window, const AboutState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const auto px = [&](int at96) { return Scaled(at96, state.dpi); };
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, state.title);
  // Label1: left, centred down its 24 pixels, never clipped by a wider face.
  const wchar_t version[] = L"KxC2Map version 0.30";
  RECT first{px(36), px(20), px(36 + 203), px(20 + 24)};
  SIZE extent{};
  GetTextExtentPoint32W(dc, version, int(std::size(version) - 1), &extent);
  first.right = std::max(first.right, LONG(first.left + extent.cx));
  DrawTextW(dc, version, -1, &first, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  // Label2: centred across, from the top, wrapped.
  SelectObject(dc, state.credits);
  RECT second{px(17), px(61), px(17 + 241), px(61 + 47)};
  DrawTextW(dc, L"By the KxC2 map kit's authors\nDecember 2026", -1, &second,
            DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(new AboutState));
      break;
    case WM_CREATE:
      state->dpi = DpiOf(window);
      state->green.reset(CreateSolidBrush(kGreen));
      MakeFonts(*state);
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(HDC(wParam), &client, state->green);
      return 1;
    }
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      // Kept for the next About, as the Qt window is.
      ShowWindow(window, SW_HIDE);
      return 0;
    case WM_DPICHANGED: {
      state->dpi = HIWORD(wParam);
      MakeFonts(*state);
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_NCDESTROY:
      for (auto it = windowsByOwner.begin(); it != windowsByOwner.end(); ++it)
        if (it->second == window) {
          windowsByOwner.erase(it);
          break;
        }
      delete state;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateAboutWindow(HWND owner) {
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  (void)registered;
  return CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"About KxC2Map", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                         CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void ShowAboutWindow(HWND owner) {
  HWND& window = windowsByOwner[owner];
  if (window == nullptr) window = CreateAboutWindow(owner);
  if (window == nullptr) {
    windowsByOwner.erase(owner);
    return;
  }
  if (!IsWindowVisible(window)) {
    const UINT dpi = DpiOf(window);
    SizeAndCentre(window, Scaled(kWidth, dpi), Scaled(kHeight, dpi));
  }
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  SetFocus(window);
}

}  // namespace kxc2::win32
