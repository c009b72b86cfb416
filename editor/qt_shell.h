#pragma once

#include <QWidget>

#include "editing/shell.h"
#include "editor/qt_window_thread.h"
#include "editor/user_dialogs.h"

class TForm1;

namespace kxc2 {

// The main window as the editing core's shell: questions and dialogs go to
// UserDialogs (the real boxes, or a test's script), changes to the window.
class QtShell final : public Shell {
 public:
  QtShell(TForm1& window, UserDialogs& dialogs) : window_(window), dialogs_(dialogs) {}

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
  QWidget* parent() const;
  bool runFileDialog(FileDialogState& state, bool forSaving);

  TForm1& window_;
  UserDialogs& dialogs_;
  QtWindowThread thread_;
};

}  // namespace kxc2
