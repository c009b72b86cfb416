#include "editor/qt_user_dialogs.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace kxc2 {
namespace {

int RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
           QMessageBox::StandardButton escapeButton) {
  QMessageBox box(icon, title, text, buttons, parent);
  box.setDefaultButton(defaultButton);
  box.setEscapeButton(escapeButton);
  return box.exec();
}

}  // namespace

QStringList QtNameFilters(const QString& filterList) {
  const QStringList parts = filterList.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return filters;
}

Answer QtUserDialogs::confirm(QWidget* parent, const QString& question) {
  const int result = RunBox(parent, QMessageBox::Question, QStringLiteral("Confirm"), question,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                            QMessageBox::Cancel);
  if (result == QMessageBox::Yes) return Answer::Yes;
  if (result == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

bool QtUserDialogs::warn(QWidget* parent, const QString& question) {
  return RunBox(parent, QMessageBox::Warning, QStringLiteral("Warning"), question,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No) == QMessageBox::Yes;
}

void QtUserDialogs::notify(QWidget* parent, const QString& text) {
  RunBox(parent, QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok,
         QMessageBox::Ok, QMessageBox::Ok);
}

void QtUserDialogs::showError(QWidget* parent, const QString& message) {
  RunBox(parent, QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), ErrorBoxText(message),
         QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogState& state, bool forSaving) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // File names match the filters whatever their case, as on the game's own system.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (forSaving)
    dialog.setFileMode(QFileDialog::AnyFile);
  else
    dialog.setFileMode(state.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.overwritePrompt);
  if (!state.title.isEmpty()) dialog.setWindowTitle(state.title);
  dialog.setDefaultSuffix(state.defaultExtension);

  const QStringList filters = QtNameFilters(state.filter);
  dialog.setNameFilters(filters);
  if (state.filterIndex >= 1 && state.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[state.filterIndex - 1]);

  if (!state.initialFolder.isEmpty() && QFileInfo(state.initialFolder).isDir())
    dialog.setDirectory(state.initialFolder);
  if (!state.fileName.isEmpty()) dialog.selectFile(state.fileName);
}

void TakeFileDialogResult(const QFileDialog& dialog, FileDialogState& state) {
  state.files = dialog.selectedFiles();
  state.fileName = state.files.value(0);
  const qsizetype chosenFilter = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
  if (chosenFilter >= 0) state.filterIndex = static_cast<int>(chosenFilter) + 1;
}

bool QtUserDialogs::runOpenDialog(QWidget* parent, FileDialogState& state) {
  QFileDialog dialog(parent);
  ConfigureFileDialog(dialog, state, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  TakeFileDialogResult(dialog, state);
  return true;
}

bool QtUserDialogs::runSaveDialog(QWidget* parent, FileDialogState& state) {
  QFileDialog dialog(parent);
  ConfigureFileDialog(dialog, state, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  TakeFileDialogResult(dialog, state);
  return true;
}

bool QtUserDialogs::runModal(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace kxc2
