#include "editor/qt_shell.h"

#include <QGroupBox>

#include "editor/Unit1.h"
#include "editor/Unit2.h"

namespace kxc2 {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

kxc2::FileDialogState ToQt(const Shell::FileDialogState& state) {
  kxc2::FileDialogState qt;
  qt.title = Text(state.title);
  qt.filter = Text(state.filter);
  qt.filterIndex = state.filterIndex;
  qt.initialFolder = Text(state.initialFolder);
  qt.fileName = Text(state.fileName);
  qt.defaultExtension = Text(state.defaultExtension);
  qt.multiSelect = state.multiSelect;
  qt.overwritePrompt = state.overwritePrompt;
  for (const std::string& file : state.files) qt.files << Text(file);
  return qt;
}

void FromQt(const kxc2::FileDialogState& qt, Shell::FileDialogState& state) {
  state.title = qt.title.toStdString();
  state.filter = qt.filter.toStdString();
  state.filterIndex = qt.filterIndex;
  state.initialFolder = qt.initialFolder.toStdString();
  state.fileName = qt.fileName.toStdString();
  state.defaultExtension = qt.defaultExtension.toStdString();
  state.multiSelect = qt.multiSelect;
  state.overwritePrompt = qt.overwritePrompt;
  state.files.clear();
  for (const QString& file : qt.files) state.files.push_back(file.toStdString());
}

}  // namespace

QWidget* QtShell::parent() const { return &window_; }

Answer QtShell::confirm(const std::string& question) { return dialogs_.confirm(parent(), Text(question)); }

bool QtShell::warn(const std::string& question) { return dialogs_.warn(parent(), Text(question)); }

void QtShell::notify(const std::string& text) { dialogs_.notify(parent(), Text(text)); }

void QtShell::showError(const std::string& message) { dialogs_.showError(parent(), Text(message)); }

bool QtShell::runFileDialog(FileDialogState& state, bool forSaving) {
  kxc2::FileDialogState qt = ToQt(state);
  const bool chosen = forSaving ? dialogs_.runSaveDialog(parent(), qt) : dialogs_.runOpenDialog(parent(), qt);
  FromQt(qt, state);
  return chosen;
}

bool QtShell::runOpenDialog(FileDialogState& state) { return runFileDialog(state, false); }

bool QtShell::runSaveDialog(FileDialogState& state) { return runFileDialog(state, true); }

bool QtShell::runParameters(MapParameters& parameters) {
  TForm2& dialog = window_.parametersDialog();
  dialog.presetSize(parameters.columns, parameters.rows);
  dialog.Terrtype->setEnabled(parameters.seasonEnabled);
  const bool ok = dialogs_.runModal(dialog);
  dialog.Terrtype->setEnabled(true);
  const MapHeader chosen = dialog.parameters();
  parameters.columns = chosen.columns;
  parameters.rows = chosen.rows;
  parameters.mapNumber = chosen.mapNumber;
  parameters.winter = dialog.terrainIndex() == 1;
  return ok;
}

void QtShell::pictureChanged(Rect area) { window_.showPictureChange(area); }

void QtShell::stateChanged() { window_.applySnapshot(); }

}  // namespace kxc2
