#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "editing/map_editor.h"
#include "editor_win32/win32_shell.h"

namespace kxc2::win32 {

// The editor's main window: the shell of a MapEditor. Its controls call the
// editor's handlers and set its tools; it shows the editor's snapshot and
// picture whenever they change. Positions are the Qt layout's at 96 DPI.
class MainWindow {
 public:
  // Runs FormCreate (settings, game folder, recovery copies) before it shows.
  explicit MainWindow(const std::string& programFolder);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND handle() const { return window_; }
  MapEditor& editor() { return *editor_; }
  void show(int how);
  // Once the window is up, as Open would open it.
  void openLater(const std::wstring& fileName);

  // The message loop's part: accelerators, typed characters and Tab for the
  // main window; true when the message was used.
  bool preTranslate(MSG& message);

  void applySnapshot();
  void showPictureChange(Rect area);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ImageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleImageMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void createControls();
  void buildMenu();
  void makeFonts();
  void layout();
  void paint(HDC dc);
  void makeBackdrop(const RECT& client);
  void paintImage();
  void command(WORD id, WORD code);
  void menuCommand(std::string_view name);
  void scroll(HWND bar, int request);
  void wheel(WPARAM wParam, LPARAM lParam);
  void dropFiles(HDROP drop);
  Point picturePoint(LPARAM lParam) const;
  UINT menuId(std::string_view name) const;
  void showRecentMaps(const std::vector<std::string>& paths);
  int scaled(int pixels) const;

  // First: the editor refers to the shell.
  std::unique_ptr<Win32Shell> shell_;
  std::unique_ptr<MapEditor> editor_;
  HWND window_ = nullptr;
  HWND header_ = nullptr, image_ = nullptr, hScroll_ = nullptr, vScroll_ = nullptr;
  HWND lmbCheck_ = nullptr, terrainList_ = nullptr;
  std::array<HWND, 6> roads_{};
  HMENU menu_ = nullptr, recentMenu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  UINT dpi_ = 96;
  SIZE firstClient_{};  // the client size at the first outer size
  struct Fonts {
    HFONT window, roads, title, subtitle;
  } fonts_{};
  HBRUSH purple_ = nullptr;
  HBRUSH backdrop_ = nullptr;
  std::optional<EditorSnapshot> shown_;
  EditorSnapshot next_;
  bool applying_ = false;
  bool tracking_ = false;  // the pointer's leaving is reported
  std::wstring pendingOpen_;
};

}  // namespace kxc2::win32
