#include "editor_win32/keys_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "editing/menu_table.h"
#include "editor_win32/wide_text.h"

namespace kxc2::win32 {
namespace {

const wchar_t* const kKeysClass = L"KxC2MapKeysWindow";
constexpr int kWidth = 600, kMargin = 10, kPadding = 4;

struct Row {
  std::wstring keys, does;  // a heading has no keys
};

std::vector<Row> Rows() {
  std::vector<Row> rows;
  const auto add = [&rows](const char* heading, const std::vector<KeyRow>& keyRows) {
    rows.push_back({L"", Widen(heading)});
    for (const KeyRow& row : keyRows) rows.push_back({Widen(row.keys), Widen(row.does)});
  };
  add("Menus", MenuKeyRows());
  add("Map view", MapViewKeyRows());
  std::vector<KeyRow> preview{{"Ctrl++", "Zoom in"}, {"Ctrl+-", "Zoom out"}};
  std::ranges::copy(PreviewKeyRows(), std::back_inserter(preview));
  add("Artwork Preview", preview);
  add("Every window", {EscapeKeyRow()});
  return rows;
}

struct KeysWindow {
  HWND window = nullptr;
  UINT dpi = 96;
  HFONT plain = nullptr, bold = nullptr, italic = nullptr;
  std::vector<Row> rows = Rows();

  int scaled(int pixels) const { return Scaled(pixels, dpi); }

  void makeFonts() {
    for (HFONT font : {plain, bold, italic}) DeleteObject(font);
    const auto font = [this](int weight, BOOL slanted) {
      return CreateFontW(-scaled(11), 0, 0, 0, weight, slanted, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
    };
    plain = font(FW_NORMAL, FALSE);
    bold = font(FW_BOLD, FALSE);
    italic = font(FW_NORMAL, TRUE);
  }

  // Draws the table, or only measures it; returns its height.
  int draw(HDC dc, bool drawing) {
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ old = SelectObject(dc, bold);
    int keysWidth = 0;
    for (const Row& row : rows) {
      SIZE size{};
      GetTextExtentPoint32W(dc, row.keys.c_str(), int(row.keys.size()), &size);
      keysWidth = std::max(keysWidth, int(size.cx));
    }
    const int pad = scaled(kPadding), left = scaled(kMargin), right = scaled(kWidth - kMargin);
    int y = scaled(kMargin);
    for (const Row& row : rows) {
      const bool heading = row.keys.empty();
      RECT does{heading ? left + pad : left + keysWidth + 3 * pad, y + pad, right - pad, y + pad};
      SelectObject(dc, heading ? italic : plain);
      DrawTextW(dc, row.does.c_str(), -1, &does, DT_WORDBREAK | DT_CALCRECT);
      does.right = right - pad;  // measuring narrowed it to the text
      if (drawing) {
        DrawTextW(dc, row.does.c_str(), -1, &does, DT_WORDBREAK);
        SelectObject(dc, bold);
        RECT keys{left + pad, y + pad, left + pad + keysWidth, does.bottom};
        DrawTextW(dc, row.keys.c_str(), -1, &keys, DT_SINGLELINE);
      }
      y = does.bottom + pad;
    }
    SelectObject(dc, old);
    return y + scaled(kMargin);
  }

  void fitSize() {
    const HDC dc = GetDC(window);
    RECT outer{0, 0, scaled(kWidth), draw(dc, false)};
    ReleaseDC(window, dc);
    AdjustWindowRectExForDpi(&outer, GetWindowLongW(window, GWL_STYLE), FALSE, 0, dpi);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
  }
};

KeysWindow keys;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      keys.draw(BeginPaint(window, &paint), true);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) ShowWindow(window, SW_HIDE);
      return 0;
    case WM_CLOSE:
      ShowWindow(window, SW_HIDE);
      return 0;
    case WM_DPICHANGED:
      keys.dpi = HIWORD(wParam);
      keys.makeFonts();
      keys.fitSize();
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

void ShowKeysWindow(HWND owner) {
  if (keys.window == nullptr) {
    WNDCLASSEXW windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kKeysClass;
    RegisterClassExW(&windowClass);
    keys.window = CreateWindowExW(WS_EX_DLGMODALFRAME, kKeysClass, L"Keys and Mouse", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner, nullptr, windowClass.hInstance, nullptr);
    keys.dpi = GetDpiForWindow(keys.window);
    keys.makeFonts();
    keys.fitSize();
    // Over the middle of the main window, as a dialog comes up.
    RECT main, own;
    GetWindowRect(owner, &main);
    GetWindowRect(keys.window, &own);
    SetWindowPos(keys.window, nullptr, (main.left + main.right - (own.right - own.left)) / 2,
                 std::max(0L, (main.top + main.bottom - (own.bottom - own.top)) / 2), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  ShowWindow(keys.window, SW_SHOW);
  SetForegroundWindow(keys.window);
  SetFocus(keys.window);
}

}  // namespace kxc2::win32
