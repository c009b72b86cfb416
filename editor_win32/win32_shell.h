#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "editing/shell.h"

namespace kxc2::win32 {

class MainWindow;

// The window thread as Windows runs it: SetTimer and posted messages to a
// message-only window made on that thread. What is posted after it went is
// dropped.
class Win32WindowThread final : public WindowThread {
 public:
  Win32WindowThread();
  ~Win32WindowThread() override;
  std::unique_ptr<WindowTimer> makeTimer(std::function<void()> fire) override;
  void post(std::function<void()> task) override;

  // The timers' side: start or stop timer id; fired from WM_TIMER.
  void startTimer(UINT_PTR id, UINT milliseconds);
  void stopTimer(UINT_PTR id);
  UINT_PTR addTimer(std::function<void()> fire);
  void removeTimer(UINT_PTR id);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void runPosted();

  HWND window_ = nullptr;
  std::mutex mutex_;
  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  UINT_PTR nextTimer_ = 1;
};

// The main window as the editing core's shell: message boxes, the common
// file dialogs, the parameters dialog, and the window's repaints.
class Win32Shell final : public Shell {
 public:
  explicit Win32Shell(MainWindow& window) : window_(window) {}

  Answer confirm(const std::string& question) override;
  bool warn(const std::string& question) override;
  void notify(const std::string& text) override;
  void showError(const std::string& message) override;
  bool runOpenDialog(FileDialogState& state) override;
  bool runSaveDialog(FileDialogState& state) override;
  bool runParameters(MapParameters& parameters) override;
  WindowThread& windowThread() override { return thread_; }
  void pictureChanged(Rect area) override;
  void stateChanged() override;

 private:
  int box(const std::string& text, const char* title, UINT style);
  bool runFileDialog(FileDialogState& state, bool forSaving);

  MainWindow& window_;
  Win32WindowThread thread_;
};

}  // namespace kxc2::win32
