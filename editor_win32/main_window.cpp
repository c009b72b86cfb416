// The main window: its layout, menus and controls, and the map view's input;
// what the handlers do is the editor's.
#include "editor_win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "core/terrain.h"
#include "editing/menu_table.h"
#include "editing/recovery_store.h"
#include "editor_win32/keys_window.h"
#include "editor_win32/about_window.h"
#include "editor_win32/preview_window.h"
#include "editor_win32/wide_text.h"

namespace kxc2::win32 {
namespace {

const wchar_t* const kWindowClass = L"KxC2MapMainWindow";
const wchar_t* const kImageClass = L"KxC2MapImage";
constexpr SIZE kOuterSize{795, 585};
constexpr std::array<int, 3> kHeaderWidths = {201, 207, 207};
constexpr int kTerrainItemHeight = 13;
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr UINT kOpenLater = WM_APP + 2;
constexpr WORD kFirstMenuId = 100, kFirstRecentId = 1000;

enum ControlId : WORD { kHeader = 10, kImage, kHScroll, kVScroll, kLmbCheck, kTerrainList, kRoad1 = 21 };

// Where each control sits at 96 DPI, and what it does with the window's
// extra size: stretch or move with it.
struct Placement {
  WORD id;
  RECT at;  // left, top, width, height
  bool stretchX, stretchY, moveX, moveY;
};

constexpr Placement kPlacements[] = {
    {kHeader, {7, 5, 616, 25}, true, false, false, false},
    {kImage, {7, 29, kViewWidth, kViewHeight}, true, true, false, false},
    {kHScroll, {8, 505, 616, 16}, true, false, false, true},
    {kVScroll, {624, 31, 16, 475}, false, true, true, false},
    {kLmbCheck, {667, 7, 111, 17}, false, false, true, false},
    {kTerrainList, {661, 32, 111, 228}, false, false, true, false},
    {kRoad1, {709, 281, 15, 17}, false, false, true, false},
    {kRoad1 + 1, {737, 298, 14, 17}, false, false, true, false},
    {kRoad1 + 2, {737, 328, 15, 17}, false, false, true, false},
    {kRoad1 + 3, {709, 347, 15, 17}, false, false, true, false},
    {kRoad1 + 4, {679, 328, 15, 17}, false, false, true, false},
    {kRoad1 + 5, {680, 298, 15, 17}, false, false, true, false},
};

// The labels and the disc: drawn by the window, they move with its width.
struct Label {
  const wchar_t* text;
  POINT at;
  int font;  // 0 the window's, 1 roads, 2 title, 3 subtitle
  COLORREF colour;
};

constexpr Label kLabels[] = {
    {L"Roads", {696, 316}, 1, RGB(255, 255, 255)}, {L"W", {669, 286}, 0, 0}, {L"E", {712, 264}, 0, 0},
    {L"R", {756, 286}, 0, 0}, {L"S", {671, 344}, 0, 0}, {L"D", {712, 365}, 0, 0}, {L"F", {756, 344}, 0, 0},
    {L"KxC2", {680, 443}, 2, RGB(255, 0, 0)}, {L"Mapmaker", {652, 475}, 3, RGB(255, 0, 0)},
};
constexpr RECT kDisc{683, 291, 65, 65};
constexpr int kDiscOutline = 3;

HFONT MakeFont(const wchar_t* face, int pixels, bool bold, UINT dpi) {
  return CreateFontW(-Scaled(pixels, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: return MouseButton::Left;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Other;
  }
}

// "Ctrl+Shift+Z", "Ctrl++", "F9" as accelerators; a character's key and
// Shift come from the keyboard layout.
std::vector<ACCEL> AcceleratorsOf(std::string_view keys, WORD id) {
  BYTE flags = FVIRTKEY;
  for (const auto& [prefix, flag] : {std::pair{"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Alt+", FALT}})
    if (keys.size() > std::string_view(prefix).size() && keys.starts_with(prefix)) {
      flags |= flag;
      keys.remove_prefix(std::string_view(prefix).size());
    }
  if (keys.size() > 1 && keys[0] == 'F') return {{flags, WORD(VK_F1 + std::stoi(std::string(keys.substr(1))) - 1), id}};
  // A letter's key is the letter; "Ctrl+Q" wants no Shift.
  const char key = keys[0];
  const bool letter = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
  const SHORT scan = letter ? SHORT(key) : VkKeyScanW(wchar_t(key));
  std::vector<ACCEL> accelerators{{BYTE(flags | ((scan & 0x100) ? FSHIFT : 0)), WORD(scan & 0xFF), id}};
  // The number pad's + and - as well.
  if (key == '+') accelerators.push_back({flags, VK_ADD, id});
  if (key == '-') accelerators.push_back({flags, VK_SUBTRACT, id});
  return accelerators;
}

std::wstring MenuText(const MenuEntry& entry, std::string_view caption) {
  std::wstring text = Widen(caption);
  if (entry.keys[0] != nullptr) text += L'\t' + Widen(entry.keys[0]);
  return text;
}

}  // namespace

MainWindow::MainWindow(const std::string& programFolder)
    : shell_(std::make_unique<Win32Shell>(*this)),
      editor_(std::make_unique<MapEditor>(*shell_, RecoveryStore::DefaultFolder())) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{sizeof windowClass};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);
  windowClass.lpfnWndProc = ImageProcedure;
  windowClass.hIcon = nullptr;
  windowClass.hbrBackground = nullptr;
  windowClass.lpszClassName = kImageClass;
  RegisterClassExW(&windowClass);

  purple_ = CreateSolidBrush(kPurple);
  buildMenu();
  window_ = CreateWindowExW(WS_EX_ACCEPTFILES, kWindowClass, Widen(kMainWindowCaption).c_str(),
                            WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, kOuterSize.cx, kOuterSize.cy,
                            nullptr, menu_, instance, this);
  dpi_ = GetDpiForWindow(window_);
  makeFonts();
  createControls();
  // The outer size scales; the client area is what is left inside it.
  RECT frame{};
  AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_ACCEPTFILES, dpi_);
  firstClient_ = {scaled(kOuterSize.cx) - (frame.right - frame.left), scaled(kOuterSize.cy) - (frame.bottom - frame.top)};
  MONITORINFO monitor{sizeof monitor};
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window_, nullptr, (work.left + work.right - scaled(kOuterSize.cx)) / 2,
               (work.top + work.bottom - scaled(kOuterSize.cy)) / 2, scaled(kOuterSize.cx), scaled(kOuterSize.cy),
               SWP_NOZORDER | SWP_NOACTIVATE);
  layout();
  applySnapshot();
  editor_->FormCreate(programFolder, kApplicationTitle);
  SetFocus(roads_[0]);
  editor_->offerRecoveryCopies();
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  for (HFONT font : {fonts_.window, fonts_.roads, fonts_.title, fonts_.subtitle}) DeleteObject(font);
  DeleteObject(purple_);
  DeleteObject(backdrop_);
  DestroyAcceleratorTable(accelerators_);
}

int MainWindow::scaled(int pixels) const { return Scaled(pixels, dpi_); }

void MainWindow::show(int how) {
  ShowWindow(window_, how);
  UpdateWindow(window_);
}

void MainWindow::openLater(const std::wstring& fileName) {
  pendingOpen_ = fileName;
  PostMessageW(window_, kOpenLater, 0, 0);
}

// ---- Layout ------------------------------------------------------------------

void MainWindow::buildMenu() {
  menu_ = CreateMenu();
  HMENU popup = nullptr;
  std::vector<ACCEL> accelerators;
  const auto entries = MainMenuEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    const WORD id = WORD(kFirstMenuId + i);
    const UINT grey = entry.enabled ? 0 : MF_GRAYED;
    switch (entry.kind) {
      case MenuEntryKind::Menu:
        popup = CreatePopupMenu();
        AppendMenuW(menu_, MF_POPUP, UINT_PTR(popup), Widen(entry.caption).c_str());
        break;
      case MenuEntryKind::Submenu:
        recentMenu_ = CreatePopupMenu();
        AppendMenuW(popup, MF_POPUP | grey, UINT_PTR(recentMenu_), Widen(entry.caption).c_str());
        break;
      case MenuEntryKind::Separator:
        AppendMenuW(popup, MF_SEPARATOR, id, nullptr);
        break;
      case MenuEntryKind::Item:
        AppendMenuW(popup, MF_STRING | grey, id, MenuText(entry, entry.caption).c_str());
        for (const char* keys : entry.keys)
          if (keys != nullptr) std::ranges::copy(AcceleratorsOf(keys, id), std::back_inserter(accelerators));
        break;
    }
  }
  accelerators_ = CreateAcceleratorTableW(accelerators.data(), int(accelerators.size()));
}

UINT MainWindow::menuId(std::string_view name) const {
  const auto entries = MainMenuEntries();
  const auto found = std::ranges::find_if(entries, [name](const MenuEntry& entry) { return entry.name == name; });
  return UINT(kFirstMenuId + (found - entries.begin()));
}

void MainWindow::makeFonts() {
  for (HFONT font : {fonts_.window, fonts_.roads, fonts_.title, fonts_.subtitle}) DeleteObject(font);
  fonts_.window = MakeFont(L"MS Sans Serif", 11, false, dpi_);
  fonts_.roads = MakeFont(L"MS Sans Serif", 11, true, dpi_);
  fonts_.title = MakeFont(L"Times New Roman", 32, true, dpi_);
  fonts_.subtitle = MakeFont(L"Times New Roman", 27, true, dpi_);
}

void MainWindow::createControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto control = [&](const wchar_t* type, const wchar_t* text, DWORD style, WORD id, DWORD extended = 0) {
    HWND child = CreateWindowExW(extended, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                                 HMENU(UINT_PTR(id)), instance, nullptr);
    SendMessageW(child, WM_SETFONT, WPARAM(fonts_.window), FALSE);
    return child;
  };
  // Created in the Tab order: Road6, Road1..Road5, the check box, the list.
  roads_[5] = control(WC_BUTTONW, L"", BS_AUTOCHECKBOX | WS_TABSTOP, kRoad1 + 5);
  for (int i = 0; i < 5; ++i) roads_[size_t(i)] = control(WC_BUTTONW, L"", BS_AUTOCHECKBOX | WS_TABSTOP, WORD(kRoad1 + i));
  lmbCheck_ = control(WC_BUTTONW, L"LMB sets terrain", BS_AUTOCHECKBOX | WS_TABSTOP, kLmbCheck);
  terrainList_ = control(WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, kTerrainList,
                         WS_EX_CLIENTEDGE);
  for (int code = 0; code < kTerrainCount; ++code)
    SendMessageW(terrainList_, LB_ADDSTRING, 0, LPARAM(Widen(TerrainListText(code)).c_str()));
  header_ = control(WC_HEADERW, L"", HDS_HORZ, kHeader);
  for (int section = 0; section < 3; ++section) {
    HDITEMW item{};
    item.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT;
    item.cxy = scaled(kHeaderWidths[size_t(section)]);
    item.fmt = HDF_CENTER | HDF_STRING;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(header_, HDM_INSERTITEMW, WPARAM(section), LPARAM(&item));
  }
  // Hidden until New or Open brings a map.
  image_ = CreateWindowExW(0, kImageClass, L"", WS_CHILD, 0, 0, 0, 0, window_, HMENU(UINT_PTR(kImage)), instance, this);
  hScroll_ = control(WC_SCROLLBARW, L"", SBS_HORZ, kHScroll);
  vScroll_ = control(WC_SCROLLBARW, L"", SBS_VERT, kVScroll);
}

// A window larger than its first size gives the map view the room; the
// controls on the right move along.
void MainWindow::layout() {
  RECT client;
  GetClientRect(window_, &client);
  const int extraX = std::max(0L, client.right - firstClient_.cx), extraY = std::max(0L, client.bottom - firstClient_.cy);
  // Before the list's size, which then settles whether it needs a scroll bar;
  // rounded down, or 17 rounded-up rows outgrow the scaled list.
  SendMessageW(terrainList_, LB_SETITEMHEIGHT, 0, kTerrainItemHeight * int(dpi_) / 96);
  for (const Placement& place : kPlacements) {
    const int width = scaled(place.at.right) + (place.stretchX ? extraX : 0);
    const int height = scaled(place.at.bottom) + (place.stretchY ? extraY : 0);
    SetWindowPos(GetDlgItem(window_, place.id), nullptr, scaled(place.at.left) + (place.moveX ? extraX : 0),
                 scaled(place.at.top) + (place.moveY ? extraY : 0), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The sections share the header's extra width, so the captions stay centred.
  for (int section = 0; section < 3; ++section) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = scaled(kHeaderWidths[size_t(section)]) + extraX / 3 + (section == 2 ? extraX % 3 : 0);
    SendMessageW(header_, HDM_SETITEMW, WPARAM(section), LPARAM(&item));
  }
  makeBackdrop(client);
  // The picture keeps its pixels at 96 DPI and is stretched on larger screens.
  RECT image;
  GetClientRect(image_, &image);
  editor_->setViewSize(MulDiv(image.right, 96, int(dpi_)), MulDiv(image.bottom, 96, int(dpi_)));
  InvalidateRect(window_, nullptr, TRUE);
}

// The window's own drawing as a brush: unthemed road boxes fill their
// background with it and so sit on the disc.
void MainWindow::makeBackdrop(const RECT& client) {
  DeleteObject(backdrop_);
  const HDC screen = GetDC(window_);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
  const HGDIOBJ old = SelectObject(memory, bitmap);
  FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
  paint(memory);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(window_, screen);
  backdrop_ = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
}

void MainWindow::paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  const int extraX = std::max(0L, client.right - firstClient_.cx);
  const auto at = [&](int x, int y) { return POINT{scaled(x) + extraX, scaled(y)}; };
  const POINT disc = at(kDisc.left, kDisc.top);
  const int inset = scaled(kDiscOutline) / 2;
  HPEN pen = CreatePen(PS_SOLID, scaled(kDiscOutline), kPurple);
  const HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, purple_);
  Ellipse(dc, disc.x + inset, disc.y + inset, disc.x + scaled(kDisc.right) - inset, disc.y + scaled(kDisc.bottom) - inset);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  SetBkMode(dc, TRANSPARENT);
  const HFONT fonts[] = {fonts_.window, fonts_.roads, fonts_.title, fonts_.subtitle};
  for (const Label& label : kLabels) {
    const HGDIOBJ old = SelectObject(dc, fonts[label.font]);
    SetTextColor(dc, label.colour);
    const POINT point = at(label.at.x, label.at.y);
    TextOutW(dc, point.x, point.y, label.text, int(wcslen(label.text)));
    SelectObject(dc, old);
  }
}

// ---- The snapshot ----------------------------------------------------------

// Only what differs from the snapshot shown last is set: a pointer crossing
// the view changes one caption, and this runs on every move.
void MainWindow::applySnapshot() {
  if (window_ == nullptr || image_ == nullptr) return;  // still being built
  EditorSnapshot nested;
  EditorSnapshot& shot = applying_ ? nested : next_;
  editor_->snapshotInto(shot);
  if (shown_ && *shown_ == shot) return;
  const EditorSnapshot* old = shown_ ? &*shown_ : nullptr;
  const auto differs = [old, &shot](auto member) { return old == nullptr || old->*member != shot.*member; };
  const bool wasApplying = std::exchange(applying_, true);
  for (int section = 0; section < 3; ++section) {
    if (old != nullptr && old->header[size_t(section)] == shot.header[size_t(section)]) continue;
    std::wstring text = Widen(shot.header[size_t(section)]);
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text.data();
    SendMessageW(header_, HDM_SETITEMW, WPARAM(section), LPARAM(&item));
  }
  if (differs(&EditorSnapshot::unsaved))
    SetWindowTextW(window_, Widen(std::string(kMainWindowCaption) + (shot.unsaved ? "*" : "")).c_str());
  if (differs(&EditorSnapshot::roads))
    for (size_t i = 0; i < roads_.size(); ++i) Button_SetCheck(roads_[i], shot.roads[i] ? BST_CHECKED : BST_UNCHECKED);
  if (ListBox_GetCurSel(terrainList_) != shot.terrainRow) ListBox_SetCurSel(terrainList_, shot.terrainRow);
  Button_SetCheck(lmbCheck_, shot.lmbSetsTerrain ? BST_CHECKED : BST_UNCHECKED);
  if (differs(&EditorSnapshot::zoomedIn))
    CheckMenuRadioItem(menu_, menuId("ZoomIn1"), menuId("ZoomOut1"), menuId(shot.zoomedIn ? "ZoomIn1" : "ZoomOut1"),
                       MF_BYCOMMAND);
  if (differs(&EditorSnapshot::scrollBars)) {
    for (const auto& [bar, state] : {std::pair{hScroll_, shot.scrollBars.horizontal}, {vScroll_, shot.scrollBars.vertical}}) {
      // A page's worth past the toolkit's maximum: Windows counts the page into the range.
      SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL};
      info.nMin = state.minimum;
      info.nMax = state.maximum + std::max(state.pageStep, 1) - 1;
      info.nPage = UINT(std::max(state.pageStep, 1));
      info.nPos = state.value;
      SetScrollInfo(bar, SB_CTL, &info, TRUE);
      EnableWindow(bar, state.enabled);
    }
  }
  if (shot.mapShown && !IsWindowVisible(image_)) ShowWindow(image_, SW_SHOWNA);
  if (differs(&EditorSnapshot::mapCommandsEnabled))
    for (const char* name : {"SaveAs1", "PaintBMPs1", "ArtworkPreview1", "FillArea1"})
      EnableMenuItem(menu_, menuId(name), MF_BYCOMMAND | (shot.mapCommandsEnabled ? MF_ENABLED : MF_GRAYED));
  const auto entries = MainMenuEntries();
  for (const auto& [name, text, enabled, changed] :
       {std::tuple{"Undo1", &shot.undoText, shot.undoEnabled,
                   differs(&EditorSnapshot::undoText) || differs(&EditorSnapshot::undoEnabled)},
        {"Redo1", &shot.redoText, shot.redoEnabled,
         differs(&EditorSnapshot::redoText) || differs(&EditorSnapshot::redoEnabled)}}) {
    if (!changed) continue;
    const UINT id = menuId(name);
    ModifyMenuW(menu_, id, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
                MenuText(entries[id - kFirstMenuId], *text).c_str());
  }
  if (differs(&EditorSnapshot::mapBounds))
    CheckMenuItem(menu_, menuId("MapBounds1"), MF_BYCOMMAND | (shot.mapBounds ? MF_CHECKED : MF_UNCHECKED));
  if (differs(&EditorSnapshot::recentMaps)) showRecentMaps(shot.recentMaps);
  if (shown_ && &shot == &next_)
    std::swap(*shown_, next_);
  else
    shown_ = shot;
  applying_ = wasApplying;
}

void MainWindow::showRecentMaps(const std::vector<std::string>& paths) {
  while (GetMenuItemCount(recentMenu_) > 0) DeleteMenu(recentMenu_, 0, MF_BYPOSITION);
  for (size_t i = 0; i < paths.size(); ++i)
    AppendMenuW(recentMenu_, MF_STRING, kFirstRecentId + i, (L"&" + std::to_wstring(i + 1) + L"  " + Widen(paths[i])).c_str());
  const HMENU file = GetSubMenu(menu_, 0);
  for (int position = 0; position < GetMenuItemCount(file); ++position)
    if (GetSubMenu(file, position) == recentMenu_)
      EnableMenuItem(file, UINT(position), MF_BYPOSITION | (paths.empty() ? MF_GRAYED : MF_ENABLED));
}

void MainWindow::showPictureChange(Rect area) {
  if (image_ == nullptr) return;
  // One pixel more each way: a stretched picture's edges round either way.
  const int grow = dpi_ == 96 ? 0 : 1;
  const RECT changed{scaled(area.left()) - grow, scaled(area.top()) - grow, scaled(area.right() + 1) + grow,
                     scaled(area.bottom() + 1) + grow};
  InvalidateRect(image_, &changed, FALSE);
}

// The editor's picture is a 32-bit top-down DIB as it is.
void MainWindow::paintImage() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(image_, &paint);
  const Image& picture = editor_->picture();
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width(), -picture.height(), 1, 32, BI_RGB};
  if (dpi_ == 96) {
    const RECT& area = paint.rcPaint;
    StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, area.left, area.top,
                  area.right - area.left, area.bottom - area.top, picture.constBits(), &info, DIB_RGB_COLORS, SRCCOPY);
  } else {
    // The whole picture, clipped to what needs painting.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, scaled(picture.width()), scaled(picture.height()), 0, 0, picture.width(),
                  picture.height(), picture.constBits(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(image_, &paint);
}

// ---- Input -------------------------------------------------------------------

Point MainWindow::picturePoint(LPARAM lParam) const {
  // Floor, not truncation: a pointer dragged left of the view stays negative.
  const auto unscale = [this](int value) {
    const int scaledBack = value * 96;
    return scaledBack >= 0 ? scaledBack / int(dpi_) : -((-scaledBack + int(dpi_) - 1) / int(dpi_));
  };
  return {unscale(GET_X_LPARAM(lParam)), unscale(GET_Y_LPARAM(lParam))};
}

bool MainWindow::preTranslate(MSG& message) {
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  if (TranslateAcceleratorW(window_, accelerators_, &message)) return true;
  // The window sees every typed character before the control with the focus,
  // and lets it go on to that control. Control characters are no road keys.
  if (message.message == WM_CHAR && message.wParam >= 0x20 && message.wParam != 0x7F) {
    editor_->FormKeyPress(message.wParam < 0x100 ? char(message.wParam) : '\0');
    return false;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
    const bool back = GetKeyState(VK_SHIFT) < 0;
    if (HWND next = GetNextDlgTabItem(window_, GetFocus(), back)) SetFocus(next);
    return true;
  }
  // A road box's release has toggled it: then the boxes go into the hex.
  if ((message.message == WM_LBUTTONUP || message.message == WM_RBUTTONUP || message.message == WM_MBUTTONUP) &&
      std::ranges::find(roads_, message.hwnd) != roads_.end()) {
    DispatchMessageW(&message);
    editor_->PlaceRoads2();
    return true;
  }
  return false;
}

void MainWindow::scroll(HWND bar, int request) {
  SCROLLINFO info{sizeof info, SIF_ALL};
  GetScrollInfo(bar, SB_CTL, &info);
  const int page = int(info.nPage), last = info.nMax - std::max(page - 1, 0);
  int position = info.nPos;
  switch (request) {
    case SB_LINELEFT: --position; break;
    case SB_LINERIGHT: ++position; break;
    case SB_PAGELEFT: position -= page; break;
    case SB_PAGERIGHT: position += page; break;
    case SB_LEFT: position = info.nMin; break;
    case SB_RIGHT: position = last; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    default: return;
  }
  position = std::clamp(position, info.nMin, last);
  if (bar == hScroll_)
    editor_->HScrollBarScroll(position);
  else
    editor_->VScrollBarScroll(position);
}

// Over a scroll bar the wheel moves it three steps a notch, as the toolkit's
// bars do; the list scrolls itself; elsewhere it does nothing.
void MainWindow::wheel(WPARAM wParam, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(window_, &point);
  HWND under = ChildWindowFromPointEx(window_, point, CWP_SKIPINVISIBLE);
  if (under == terrainList_) {
    SendMessageW(terrainList_, WM_MOUSEWHEEL, wParam, lParam);
    return;
  }
  if ((under != hScroll_ && under != vScroll_) || !IsWindowEnabled(under)) return;
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
  for (int step = 0; step < std::abs(notches) * int(std::min(lines, 100u)); ++step)
    scroll(under, notches > 0 ? SB_LINELEFT : SB_LINERIGHT);
}

void MainWindow::dropFiles(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), UINT(name.size())));
    files.push_back(Narrow(name));
  }
  DragFinish(drop);
  editor_->openDroppedFiles(files);
}

void MainWindow::command(WORD id, WORD code) {
  if (shown_ && id >= kFirstRecentId && id < kFirstRecentId + shown_->recentMaps.size()) {
    // A copy: opening changes the snapshot the name came from.
    const std::string path = shown_->recentMaps[id - kFirstRecentId];
    editor_->openRecentMap(path);
    return;
  }
  const auto entries = MainMenuEntries();
  if (id >= kFirstMenuId && id < kFirstMenuId + entries.size()) {
    menuCommand(entries[id - kFirstMenuId].name);
    return;
  }
  if (applying_) return;
  if (id == kLmbCheck && code == BN_CLICKED) editor_->setLmbSetsTerrain(Button_GetCheck(lmbCheck_) == BST_CHECKED);
  if (id >= kRoad1 && id < kRoad1 + 6 && code == BN_CLICKED)
    editor_->setRoadBox(id - kRoad1, Button_GetCheck(roads_[size_t(id - kRoad1)]) == BST_CHECKED);
  if (id == kTerrainList && code == LBN_SELCHANGE) editor_->setTerrain(ListBox_GetCurSel(terrainList_));
}

void MainWindow::menuCommand(std::string_view name) {
  MapEditor& editor = *editor_;
  if (name == "New1") editor.New1Click();
  else if (name == "Open1") editor.Open1Click();
  else if (name == "SaveAs1") editor.SaveAs1Click();
  else if (name == "PaintBMPs1") editor.PaintBMPs1Click();
  else if (name == "WriteSHPs1") editor.WriteSHPs1Click();
  else if (name == "Exit1") SendMessageW(window_, WM_CLOSE, 0, 0);
  else if (name == "Undo1") editor.Undo1Click();
  else if (name == "Redo1") editor.Redo1Click();
  else if (name == "FillArea1") editor.FillArea1Click();
  else if (name == "ZoomIn1") editor.ZoomIn1Click();
  else if (name == "ZoomOut1") editor.ZoomOut1Click();
  else if (name == "ArtworkPreview1") ShowArtworkPreview(window_, editor);
  else if (name == "MapBounds1") editor.MapBounds1Click(!(GetMenuState(menu_, menuId(name), MF_BYCOMMAND) & MF_CHECKED));
  else if (name == "KeysAndMouse1") ShowKeysWindow(window_);
  else if (name == "About1") ShowAboutWindow(window_);
}

// ---- Window procedures -----------------------------------------------------

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = WindowObject<MainWindow>(window, message, lParam);
  if (message == WM_NCCREATE && self != nullptr) self->window_ = window;
  return self != nullptr ? self->handleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lParam != 0) scroll(HWND(lParam), LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      wheel(wParam, lParam);
      return 0;
    case WM_NOTIFY: {
      // The sections keep their widths: the user cannot drag them.
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == header_ && (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA)) return TRUE;
      break;
    }
    case WM_CTLCOLORSTATIC:
      if (std::ranges::find(roads_, HWND(lParam)) != roads_.end()) {
        RECT box;
        GetWindowRect(HWND(lParam), &box);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
        SetBrushOrgEx(HDC(wParam), -box.left, -box.top, nullptr);
        SetBkMode(HDC(wParam), TRANSPARENT);
        return LRESULT(backdrop_);
      }
      break;
    case WM_PRINTCLIENT: {
      // Themed check boxes ask for what lies under them: the road boxes sit on the disc.
      RECT client;
      GetClientRect(window_, &client);
      FillRect(HDC(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      paint(HDC(wParam));
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paintStruct;
      paint(BeginPaint(window_, &paintStruct));
      EndPaint(window_, &paintStruct);
      return 0;
    }
    case WM_SIZE:
      if (image_ != nullptr && wParam != SIZE_MINIMIZED) layout();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {scaled(kOuterSize.cx), scaled(kOuterSize.cy)};
      return 0;
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      dpi_ = HIWORD(wParam);
      makeFonts();
      for (HWND child : {lmbCheck_, terrainList_, header_}) SendMessageW(child, WM_SETFONT, WPARAM(fonts_.window), TRUE);
      RECT frame{};
      AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_ACCEPTFILES, dpi_);
      firstClient_ = {scaled(kOuterSize.cx) - (frame.right - frame.left), scaled(kOuterSize.cy) - (frame.bottom - frame.top)};
      SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      return 0;
    }
    case WM_DROPFILES:
      dropFiles(HDROP(wParam));
      return 0;
    case kOpenLater:
      editor_->openNamedMap(Narrow(pendingOpen_));
      return 0;
    case WM_CLOSE:
      if (editor_->FormCloseQuery()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::ImageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = WindowObject<MainWindow>(window, message, lParam);
  if (self == nullptr || self->image_ == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->handleImageMessage(message, wParam, lParam);
}

LRESULT MainWindow::handleImageMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paintImage();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Strokes go on outside the view until the release.
      SetCapture(image_);
      editor_->MapImageMouseDown(ButtonOf(message), (wParam & MK_SHIFT) != 0, picturePoint(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // The release first: giving the capture back ends a stroke still under way.
      editor_->MapImageMouseUp(ButtonOf(message), picturePoint(lParam));
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      editor_->MapImageCaptureLost();
      return 0;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, image_, 0};
        tracking_ = TrackMouseEvent(&track);
      }
      editor_->MapImageMouseMove(picturePoint(lParam));
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      editor_->MapImageMouseLeave();
      return 0;
    default:
      return DefWindowProcW(image_, message, wParam, lParam);
  }
}

}  // namespace kxc2::win32
