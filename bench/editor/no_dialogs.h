#pragma once

#include "editor/user_dialogs.h"

namespace kxc2::bench {

// The editor's benchmarks and snapshots want no questions: every box is
// answered No or Cancel at once.
class NoDialogs : public UserDialogs {
 public:
  Answer confirm(QWidget*, const QString&) override { return Answer::No; }
  bool warn(QWidget*, const QString&) override { return false; }
  void notify(QWidget*, const QString&) override {}
  void showError(QWidget*, const QString&) override {}
  bool runOpenDialog(QWidget*, FileDialogState&) override { return false; }
  bool runSaveDialog(QWidget*, FileDialogState&) override { return false; }
  bool runModal(QDialog&) override { return false; }
};

}  // namespace kxc2::bench
