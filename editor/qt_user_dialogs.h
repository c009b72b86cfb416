#pragma once

#include <QString>
#include <QStringList>

#include "editing/menu_table.h"
#include "editor/user_dialogs.h"

class QFileDialog;

namespace kxc2 {


// "KC2 Maps|*.map|KC2 Program|Korvex2.exe" as Qt's "KC2 Maps (*.map);;...".
QStringList QtNameFilters(const QString& filterList);

// The real boxes and file dialogs of the running program.
class QtUserDialogs : public UserDialogs {
 public:
  Answer confirm(QWidget* parent, const QString& question) override;
  bool warn(QWidget* parent, const QString& question) override;
  void notify(QWidget* parent, const QString& text) override;
  void showError(QWidget* parent, const QString& message) override;
  bool runOpenDialog(QWidget* parent, FileDialogState& state) override;
  bool runSaveDialog(QWidget* parent, FileDialogState& state) override;
  bool runModal(QDialog& dialog) override;
};

// Sets up a file dialog from state; exposed so tests can inspect it.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogState& state, bool forSaving);
// Copies the user's choice back into state.
void TakeFileDialogResult(const QFileDialog& dialog, FileDialogState& state);

}  // namespace kxc2
