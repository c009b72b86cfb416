// The Artwork Preview window: the painter's picture of the map, live.
#include "editor_win32/preview_window.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "editing/artwork_preview_model.h"
#include "editor_win32/dialog_style.h"
#include "editor_win32/parameters_dialog.h"
#include "editor_win32/wide_text.h"
#include "export/png_writer.h"
#include "export/tile_set.h"

namespace kxc2::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KxC2MapArtworkPreview";
constexpr wchar_t kPaneClass[] = L"KxC2MapPreviewPane";
constexpr std::array<int, 4> kZoomPercents = {25, 50, 100, 200};
constexpr int kStartZoomIndex = 1;
constexpr COLORREF kOutlineColour = RGB(255, 0, 255);
// The Qt scroll area's dark role round a picture smaller than the view.
constexpr COLORREF kAroundPicture = RGB(160, 160, 160);
// A Qt scroll area's arrow step; a wheel notch is three of them.
constexpr int kScrollStep = 20;
constexpr int kWheelSteps = 3;

enum Control : int { kSummer = 201, kWinter, kZoomLabel, kZoomBox, kOutlines, kExport, kPane, kStatus };

// The Qt window's layout at 96 DPI: its margins and spacing round the bar,
// the picture and the status line.
constexpr int kWidth = 980;
constexpr int kHeight = 720;
// The smallest the Qt layout lets the window be.
constexpr int kMinimumWidth = 533;
constexpr int kMinimumHeight = 140;
constexpr int kMargin = 11;
constexpr int kSpacing = 6;
constexpr int kPaneTop = 39;
constexpr int kStatusHeight = 14;
struct BarItem {
  int id;
  int x;
  int y;
  int width;
  int height;
};
constexpr std::array<BarItem, 5> kBarLeft = {{
    {kSummer, 11, 12, 76, 20},
    {kWinter, 93, 12, 65, 20},
    {kZoomLabel, 176, 11, 35, 22},
    {kZoomBox, 217, 11, 68, 22},
    {kOutlines, 303, 12, 108, 20},
}};
constexpr BarItem kExportItem = {kExport, 0, 11, 105, 22};  // at the right

class PreviewWindow;
std::map<HWND, PreviewWindow*> previewsByOwner;

class PreviewWindow {
 public:
  PreviewWindow(HWND owner, MapEditor& editor);
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;

  HWND window() const { return window_; }
  // The window-wide shortcuts; true when the key was one.
  bool handleShortcut(const MSG& message);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onPaneMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void create();
  void createControls();
  void makeFonts();
  void layout();
  int px(int at96) const { return Scaled(at96, dpi_); }
  HWND control(int id) const { return GetDlgItem(window_, id); }

  void repaintWhole();
  void repaintHexes(const std::vector<HexCoord>& hexes);
  void chooseSeason(bool winter);
  void chooseZoom(int index);
  void stepZoom(int by);
  void showOutlines();
  int pieceMapNumber() const;
  void selectInEditor(Point picturePixel);
  void showPointer(Point picturePixel);
  void refreshPointer();
  void exportPicture();
  void setStatus(const std::string& text);

  // The pane: the picture at the zoom, scrolled.
  SIZE viewExtent() const;
  SIZE paneClient() const;
  void updateScrollBars();
  // Moves what is shown, or with a new picture or zoom only sets where.
  void scrollTo(int x, int y, bool newView = false);
  void scrollBy(int dx, int dy) { scrollTo(scroll_.x + dx, scroll_.y + dy); }
  void onScroll(int bar, int request);
  void paintPane();
  void paintPicture(HDC dc, const RECT& area) const;
  void paintOutlines(HDC dc) const;
  std::vector<PieceMark> pieceMarks(HDC dc) const;
  Point toPicture(POINT client) const;
  bool overPicture(POINT client) const;

  HWND owner_;
  MapEditor& editor_;
  ArtworkPreviewModel model_;
  Shell::FileDialogState exportDialog_;
  HWND window_ = nullptr;
  HWND pane_ = nullptr;
  HWND focus_ = nullptr;  // given back when the window is active again
  UINT dpi_ = 96;
  GdiObject<HFONT> font_;
  GdiObject<HFONT> smallFont_;
  PreviewZoom zoom_ = ZoomOfPercent(kZoomPercents[kStartZoomIndex]);
  POINT scroll_{0, 0};
  bool outlines_ = false;
  int mapNumber_ = 0;
  int hexesListener_ = 0;
  int replacedListener_ = 0;
};

PreviewWindow::PreviewWindow(HWND owner, MapEditor& editor)
    : owner_(owner), editor_(editor), model_([&editor](bool winter) {
        return LoadPainterTileSet(editor.programFolder(), winter, editor.userFolder());
      }) {
  exportDialog_.title = "Export Picture";
  exportDialog_.filter = "PNG pictures|*.png";
  exportDialog_.defaultExtension = "png";
  exportDialog_.overwritePrompt = true;
  wchar_t pictures[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures)))
    exportDialog_.initialFolder = Narrow(pictures);
  create();
}

void PreviewWindow::create() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = PaneProc;
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = kPaneClass;
    RegisterClassExW(&windowClass);
    return true;
  }();
  (void)registered;
  CreateWindowExW(0, kWindowClass, L"Artwork Preview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, GetModuleHandleW(nullptr), this);
}

// The Qt window is a window of its own, so it has the application's font,
// which Qt takes from the system's message font; the small one is that face.
void PreviewWindow::makeFonts() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_);
  font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
  metrics.lfMessageFont.lfHeight = -Scaled(kSmallLabelPixels, dpi_);
  metrics.lfMessageFont.lfWidth = 0;
  smallFont_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, WPARAM(font_.get()), TRUE);
}

void PreviewWindow::createControls() {
  const auto add = [this](const wchar_t* className, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                           HMENU(INT_PTR(id)), GetModuleHandleW(nullptr), this);
  };
  add(L"BUTTON", L"Summer", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, kSummer);
  add(L"BUTTON", L"Winter", BS_AUTORADIOBUTTON, kWinter);
  add(L"STATIC", L"Zoom", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE | WS_GROUP, kZoomLabel);
  HWND zoomBox = add(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kZoomBox);
  for (int percent : kZoomPercents)
    SendMessageW(zoomBox, CB_ADDSTRING, 0, LPARAM((std::to_wstring(percent) + L" %").c_str()));
  SendMessageW(zoomBox, CB_SETCURSEL, kStartZoomIndex, 0);
  add(L"BUTTON", L"Piece outlines", BS_AUTOCHECKBOX | WS_TABSTOP, kOutlines);
  add(L"BUTTON", L"Export Picture\u2026", BS_PUSHBUTTON | WS_TABSTOP, kExport);
  pane_ = add(kPaneClass, L"", WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, kPane, WS_EX_STATICEDGE);
  add(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kStatus);
  CheckRadioButton(window_, kSummer, kWinter, kSummer);
}

void PreviewWindow::layout() {
  RECT client;
  GetClientRect(window_, &client);
  const int width = client.right;
  const int height = client.bottom;
  HDWP moves = BeginDeferWindowPos(9);
  const auto place = [&](int id, int x, int y, int w, int h) {
    moves = DeferWindowPos(moves, control(id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  for (const BarItem& item : kBarLeft) {
    // A drop-down list's height includes its list.
    const int itemHeight = item.id == kZoomBox ? px(item.height) + px(120) : px(item.height);
    place(item.id, px(item.x), px(item.y), px(item.width), itemHeight);
  }
  place(kExport, width - px(kMargin) - px(kExportItem.width), px(kExportItem.y), px(kExportItem.width),
        px(kExportItem.height));
  // A face taller than the Qt one's keeps its descenders.
  const int statusHeight = std::max(px(kStatusHeight), int(TextExtent(window_, font_, L"Hg").cy));
  const int statusTop = height - px(kMargin) - statusHeight;
  const int paneTop = px(kPaneTop);
  place(kPane, px(kMargin), paneTop, std::max(0, width - 2 * px(kMargin)),
        std::max(0, statusTop - px(kSpacing) - paneTop));
  place(kStatus, px(kMargin), statusTop, std::max(0, width - 2 * px(kMargin)), statusHeight);
  EndDeferWindowPos(moves);
  // The drop-down's field, as high as a Qt combo box.
  SendMessageW(control(kZoomBox), CB_SETITEMHEIGHT, WPARAM(-1), px(kBarLeft[3].height) - 6);
}

// ---- Following the editor -----------------------------------------------

void PreviewWindow::repaintWhole() {
  setStatus(model_.repaintWhole(editor_.document()));
  EnableWindow(control(kExport), !model_.picture().isNull());
  updateScrollBars();
  InvalidateRect(pane_, nullptr, FALSE);
  showOutlines();
}

void PreviewWindow::repaintHexes(const std::vector<HexCoord>& hexes) {
  const auto rects = model_.repaintHexes(editor_.document(), hexes);
  if (!rects) {
    repaintWhole();
    return;
  }
  for (const Rect& changed : *rects) {
    const Rect view = zoom_.toView(changed);
    RECT area{view.left() - scroll_.x, view.top() - scroll_.y, view.right() + 1 - scroll_.x,
              view.bottom() + 1 - scroll_.y};
    InvalidateRect(pane_, &area, FALSE);
  }
}

void PreviewWindow::chooseSeason(bool winter) {
  if (winter == model_.winter()) return;
  model_.setWinter(winter);
  repaintWhole();
}

void PreviewWindow::chooseZoom(int index) {
  if (index < 0) return;
  // The picture point at the middle of the view stays there.
  const SIZE viewport = paneClient();
  const Point middle(zoom_.toPicture(scroll_.x + viewport.cx / 2), zoom_.toPicture(scroll_.y + viewport.cy / 2));
  zoom_ = ZoomOfPercent(kZoomPercents[std::size_t(index)]);
  updateScrollBars();
  scrollTo(zoom_.toView(middle.x()) - viewport.cx / 2, zoom_.toView(middle.y()) - viewport.cy / 2, true);
  InvalidateRect(pane_, nullptr, FALSE);
  refreshPointer();
}

void PreviewWindow::stepZoom(int by) {
  HWND box = control(kZoomBox);
  const int count = int(SendMessageW(box, CB_GETCOUNT, 0, 0));
  const int current = int(SendMessageW(box, CB_GETCURSEL, 0, 0));
  const int next = std::clamp(current + by, 0, count - 1);
  if (next == current) return;
  SendMessageW(box, CB_SETCURSEL, next, 0);
  chooseZoom(next);
}

void PreviewWindow::showOutlines() {
  const bool shown = IsDlgButtonChecked(window_, kOutlines) == BST_CHECKED;
  const int number = pieceMapNumber();
  if (outlines_ == shown && mapNumber_ == number) return;
  outlines_ = shown;
  mapNumber_ = number;
  InvalidateRect(pane_, nullptr, FALSE);
}

int PreviewWindow::pieceMapNumber() const {
  return PieceMapNumber(editor_.document().header, editor_.fileName().empty(), ParametersDialogMapNumber());
}

void PreviewWindow::selectInEditor(Point picturePixel) {
  if (model_.picture().isNull()) return;
  SelectHexInEditor(editor_, HexAtPicturePixel(picturePixel.x(), picturePixel.y()));
}

void PreviewWindow::showPointer(Point picturePixel) {
  if (model_.picture().isNull()) return;
  setStatus(model_.pointerText(editor_.document().grid, picturePixel));
}

void PreviewWindow::refreshPointer() {
  if (model_.picture().isNull()) return;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(pane_, &at);
  if (overPicture(at))
    showPointer(toPicture(at));
  else
    setStatus(model_.sizeText());
}

void PreviewWindow::setStatus(const std::string& text) { SetWindowTextW(control(kStatus), Widen(text).c_str()); }

void PreviewWindow::exportPicture() {
  if (model_.picture().isNull()) return;
  exportDialog_.fileName = model_.exportFileName(pieceMapNumber());
  // The shell's dialog belongs to the main window; this one waits too.
  EnableWindow(window_, FALSE);
  const bool chosen = editor_.shell().runSaveDialog(exportDialog_);
  EnableWindow(window_, TRUE);
  SetActiveWindow(window_);
  if (!chosen) return;
  try {
    SavePng(exportDialog_.fileName, model_.picture());
  } catch (const std::exception& error) {
    editor_.shell().showError(error.what());
    return;
  }
  setStatus("Saved " + exportDialog_.fileName);
}

// ---- The pane -----------------------------------------------------------

SIZE PreviewWindow::viewExtent() const {
  const Image& picture = model_.picture();
  if (picture.isNull()) return {0, 0};
  return {zoom_.viewExtent(picture.width()), zoom_.viewExtent(picture.height())};
}

SIZE PreviewWindow::paneClient() const {
  RECT client;
  GetClientRect(pane_, &client);
  return {client.right, client.bottom};
}

void PreviewWindow::updateScrollBars() {
  const SIZE extent = viewExtent();
  // Showing one bar narrows the view and may call for the other: twice.
  for (int pass = 0; pass < 2; ++pass) {
    const SIZE client = paneClient();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, int(extent.cx) - 1);
    info.nPage = UINT(client.cx);
    info.nPos = scroll_.x;
    SetScrollInfo(pane_, SB_HORZ, &info, TRUE);
    info.nMax = std::max(0, int(extent.cy) - 1);
    info.nPage = UINT(client.cy);
    info.nPos = scroll_.y;
    SetScrollInfo(pane_, SB_VERT, &info, TRUE);
  }
  const SIZE client = paneClient();
  const POINT limit{std::max(0L, extent.cx - client.cx), std::max(0L, extent.cy - client.cy)};
  if (scroll_.x > limit.x || scroll_.y > limit.y) {
    scrollTo(std::min(scroll_.x, limit.x), std::min(scroll_.y, limit.y), true);
    InvalidateRect(pane_, nullptr, FALSE);
  }
}

void PreviewWindow::scrollTo(int x, int y, bool newView) {
  const SIZE extent = viewExtent();
  const SIZE client = paneClient();
  x = std::clamp(x, 0, std::max(0, int(extent.cx - client.cx)));
  y = std::clamp(y, 0, std::max(0, int(extent.cy - client.cy)));
  if (x == scroll_.x && y == scroll_.y) return;
  if (!newView)
    ScrollWindowEx(pane_, scroll_.x - x, scroll_.y - y, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  scroll_ = {x, y};
  SetScrollPos(pane_, SB_HORZ, x, TRUE);
  SetScrollPos(pane_, SB_VERT, y, TRUE);
  // Scrolling moves the picture under a pointer standing still.
  if (!newView) refreshPointer();
}

void PreviewWindow::onScroll(int bar, int request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(pane_, bar, &info);
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP: position -= kScrollStep; break;
    case SB_LINEDOWN: position += kScrollStep; break;
    case SB_PAGEUP: position -= int(info.nPage); break;
    case SB_PAGEDOWN: position += int(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
  }
  if (bar == SB_HORZ)
    scrollTo(position, scroll_.y);
  else
    scrollTo(scroll_.x, position);
}

Point PreviewWindow::toPicture(POINT client) const {
  return {zoom_.toPicture(client.x + scroll_.x), zoom_.toPicture(client.y + scroll_.y)};
}

bool PreviewWindow::overPicture(POINT client) const {
  const SIZE size = paneClient();
  const SIZE extent = viewExtent();
  return client.x >= 0 && client.y >= 0 && client.x < size.cx && client.y < size.cy &&
         client.x + scroll_.x < extent.cx && client.y + scroll_.y < extent.cy;
}

// Each view pixel is the picture pixel under its centre: crisp at every
// zoom, and the same rule the clicks use.
void PreviewWindow::paintPicture(HDC dc, const RECT& area) const {
  const Image& picture = model_.picture();
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const std::vector<Rgb>& table = picture.colorTable();
  std::array<std::uint32_t, 256> colours{};
  for (std::size_t i = 0; i < colours.size() && i < table.size(); ++i) colours[i] = table[i];
  std::vector<int> sourceX(static_cast<std::size_t>(width));
  for (int i = 0; i < width; ++i)
    sourceX[std::size_t(i)] = std::clamp(zoom_.toPicture(area.left + scroll_.x + i), 0, picture.width() - 1);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int j = 0; j < height; ++j) {
    const int y = std::clamp(zoom_.toPicture(area.top + scroll_.y + j), 0, picture.height() - 1);
    const std::uint8_t* source = picture.constScanLine(y);
    std::uint32_t* target = pixels.data() + std::size_t(j) * std::size_t(width);
    for (int i = 0; i < width; ++i) target[i] = colours[source[sourceX[std::size_t(i)]]];
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, area.left, area.top, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), pixels.data(),
                    &info, DIB_RGB_COLORS);
}

std::vector<PieceMark> PreviewWindow::pieceMarks(HDC dc) const {
  const Image& picture = model_.picture();
  return PieceMarks({picture.width(), picture.height()}, zoom_, mapNumber_,
                    [&](const std::string& text, LabelFont font) {
                      SelectObject(dc, font == LabelFont::Normal ? font_.get() : smallFont_.get());
                      const std::wstring wide = Widen(text);
                      SIZE extent{};
                      GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &extent);
                      TEXTMETRICW metrics{};
                      GetTextMetricsW(dc, &metrics);
                      return Size(extent.cx, metrics.tmHeight);
                    });
}

void PreviewWindow::paintOutlines(HDC dc) const {
  GdiObject<HBRUSH> outline(CreateSolidBrush(kOutlineColour));
  const HGDIOBJ oldFont = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  for (const PieceMark& mark : pieceMarks(dc)) {
    const RECT piece{mark.piece.left() - scroll_.x, mark.piece.top() - scroll_.y,
                     mark.piece.right() + 1 - scroll_.x, mark.piece.bottom() + 1 - scroll_.y};
    FrameRect(dc, &piece, outline);
    if (mark.label.isEmpty()) continue;
    RECT label{mark.label.left() - scroll_.x, mark.label.top() - scroll_.y, mark.label.right() + 1 - scroll_.x,
               mark.label.bottom() + 1 - scroll_.y};
    FillRect(dc, &label, HBRUSH(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, mark.font == LabelFont::Normal ? font_.get() : smallFont_.get());
    const std::wstring text = Widen(mark.text);
    DrawTextW(dc, text.c_str(), int(text.size()), &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
}

void PreviewWindow::paintPane() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(pane_, &paint);
  const RECT& dirty = paint.rcPaint;
  const int width = dirty.right - dirty.left;
  const int height = dirty.bottom - dirty.top;
  if (width > 0 && height > 0) {
    // Drawn off screen: the outlines go over the picture without flicker.
    HDC memory = CreateCompatibleDC(dc);
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    SetViewportOrgEx(memory, -dirty.left, -dirty.top, nullptr);
    GdiObject<HBRUSH> around(CreateSolidBrush(kAroundPicture));
    FillRect(memory, &dirty, around);
    const SIZE extent = viewExtent();
    RECT shown{-scroll_.x, -scroll_.y, extent.cx - scroll_.x, extent.cy - scroll_.y};
    RECT area;
    if (IntersectRect(&area, &shown, &dirty)) {
      paintPicture(memory, area);
      if (outlines_) paintOutlines(memory);
    }
    BitBlt(dc, dirty.left, dirty.top, width, height, memory, dirty.left, dirty.top, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
  }
  EndPaint(pane_, &paint);
}

LRESULT PreviewWindow::onPaneMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paintPane();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      updateScrollBars();
      return 0;
    case WM_HSCROLL:
      onScroll(SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_VSCROLL:
      onScroll(SB_VERT, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(wParam);
      const WORD keys = GET_KEYSTATE_WPARAM(wParam);
      // As a Qt scroll bar takes it: Alt turns it across, Ctrl or Shift
      // moves a page.
      const bool across = message == WM_MOUSEHWHEEL || GetKeyState(VK_MENU) < 0;
      const SIZE client = paneClient();
      const int page = across ? client.cx : client.cy;
      int by = (keys & (MK_CONTROL | MK_SHIFT)) != 0 ? (notches > 0 ? -page : page)
                                                      : -notches * kWheelSteps * kScrollStep / WHEEL_DELTA;
      if (message == WM_MOUSEHWHEEL) by = -by;
      if (across)
        scrollBy(by, 0);
      else
        scrollBy(0, by);
      return 0;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT: scrollBy(-kScrollStep, 0); return 0;
        case VK_RIGHT: scrollBy(kScrollStep, 0); return 0;
        case VK_UP: scrollBy(0, -kScrollStep); return 0;
        case VK_DOWN: scrollBy(0, kScrollStep); return 0;
        case VK_PRIOR: scrollBy(0, -paneClient().cy); return 0;
        case VK_NEXT: scrollBy(0, paneClient().cy); return 0;
        default: break;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(pane_);
      SetCapture(pane_);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != pane_) return 0;
      ReleaseCapture();
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (overPicture(at)) selectInEditor(toPicture(at));
      return 0;
    }
    case WM_MOUSEMOVE: {
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (overPicture(at)) showPointer(toPicture(at));
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    default:
      break;
  }
  return DefWindowProcW(pane_, message, wParam, lParam);
}

// ---- The window ---------------------------------------------------------

LRESULT PreviewWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      dpi_ = DpiOf(window_);
      createControls();
      makeFonts();
      {
        const SIZE outer = OuterSize(window_, px(kWidth), px(kHeight));
        SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      layout();
      hexesListener_ = editor_.onHexesChanged([this](const std::vector<HexCoord>& hexes) { repaintHexes(hexes); });
      replacedListener_ = editor_.onMapReplaced([this] { repaintWhole(); });
      repaintWhole();
      return 0;
    case WM_SIZE:
      layout();
      return 0;
    case WM_GETMINMAXINFO: {
      if (window_ == nullptr || pane_ == nullptr) break;
      const SIZE smallest = OuterSize(window_, px(kMinimumWidth), px(kMinimumHeight));
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {smallest.cx, smallest.cy};
      return 0;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      // A control with the focus passes the wheel up to here; like Qt's,
      // it turns what is under the pointer.
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(pane_, &at);
      const SIZE client = paneClient();
      if (at.x >= 0 && at.y >= 0 && at.x < client.cx && at.y < client.cy)
        return SendMessageW(pane_, message, wParam, lParam);
      return 0;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kSummer:
        case kWinter:
          if (HIWORD(wParam) == BN_CLICKED) chooseSeason(IsDlgButtonChecked(window_, kWinter) == BST_CHECKED);
          return 0;
        case kZoomBox:
          if (HIWORD(wParam) == CBN_SELCHANGE) chooseZoom(int(SendMessageW(control(kZoomBox), CB_GETCURSEL, 0, 0)));
          return 0;
        case kOutlines:
          if (HIWORD(wParam) == BN_CLICKED) showOutlines();
          return 0;
        case kExport:
          if (HIWORD(wParam) == BN_CLICKED) exportPicture();
          return 0;
        default:
          return 0;
      }
    case WM_ACTIVATE:
      // Save and Paint .BMPs may have set a new size or number in the
      // header while this window was in the background.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) focus_ = focus;
        return 0;
      }
      if (model_.sizeChanged(editor_.document().header)) repaintWhole();
      showOutlines();
      SetFocus(focus_ != nullptr && IsWindow(focus_) ? focus_ : pane_);
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      makeFonts();
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      InvalidateRect(pane_, nullptr, FALSE);
      return 0;
    }
    case WM_DESTROY:
      editor_.removeListener(hexesListener_);
      editor_.removeListener(replacedListener_);
      previewsByOwner.erase(owner_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool PreviewWindow::handleShortcut(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  if (control && (message.wParam == VK_OEM_PLUS || message.wParam == VK_ADD)) {
    stepZoom(1);
    return true;
  }
  if (control && (message.wParam == VK_OEM_MINUS || message.wParam == VK_SUBTRACT)) {
    stepZoom(-1);
    return true;
  }
  // An open drop-down list takes its own Escape.
  if (message.wParam == VK_ESCAPE && !SendMessageW(this->control(kZoomBox), CB_GETDROPPEDSTATE, 0, 0)) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return true;
  }
  return false;
}

LRESULT CALLBACK PreviewWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* preview = WindowObject<PreviewWindow>(window, message, lParam);
  if (message == WM_NCCREATE && preview != nullptr) preview->window_ = window;
  if (preview == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete preview;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return preview->onMessage(message, wParam, lParam);
}

LRESULT CALLBACK PreviewWindow::PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* preview = WindowObject<PreviewWindow>(pane, message, lParam);
  if (message == WM_NCCREATE && preview != nullptr) preview->pane_ = pane;
  if (preview == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY)
    return DefWindowProcW(pane, message, wParam, lParam);
  return preview->onPaneMessage(message, wParam, lParam);
}

}  // namespace

void ShowArtworkPreview(HWND owner, MapEditor& editor) {
  PreviewWindow* preview = nullptr;
  if (const auto found = previewsByOwner.find(owner); found != previewsByOwner.end()) {
    preview = found->second;
  } else {
    preview = new PreviewWindow(owner, editor);
    if (preview->window() == nullptr) {
      delete preview;
      return;
    }
    previewsByOwner[owner] = preview;
  }
  ShowWindow(preview->window(), SW_SHOW);
  SetWindowPos(preview->window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(preview->window());
}

bool PreviewIsDialogMessage(MSG& message) {
  if (message.hwnd == nullptr) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  for (const auto& [owner, preview] : previewsByOwner) {
    if (preview->window() != root) continue;
    return preview->handleShortcut(message) || IsDialogMessageW(root, &message);
  }
  return false;
}

}  // namespace kxc2::win32
