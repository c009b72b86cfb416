#pragma once

#include <QString>
#include <QStringList>

#include "editing/shell.h"

class QDialog;
class QWidget;

namespace kxc2 {

// The settings of OpenDialog1 / SaveDialog1, kept between uses like the
// dialog components they stand for.
struct FileDialogState {
  QString title;
  QString filter;         // "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|..."
  int filterIndex = 1;    // 1-based entry of filter
  QString initialFolder;
  QString fileName;       // proposed on show; the chosen file afterwards
  QString defaultExtension;
  bool multiSelect = false;
  bool overwritePrompt = false;
  QStringList files;      // full paths chosen by the last successful show
};

// Every modal question and dialog of the editor goes through here, so tests
// can answer from a script while the program shows the real boxes.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // "Confirm", question icon, Yes/No/Cancel, Yes default, Escape = Cancel.
  virtual Answer confirm(QWidget* parent, const QString& question) = 0;
  // "Warning", warning icon, Yes/No; true on Yes.
  virtual bool warn(QWidget* parent, const QString& question) = 0;
  // Titled with the application title, OK button.
  virtual void notify(QWidget* parent, const QString& text) = 0;
  // Error icon, titled with the application title.
  virtual void showError(QWidget* parent, const QString& message) = 0;

  // Shows an open dialog from state; true when the user chose, with
  // state.files (and state.fileName) set.
  virtual bool runOpenDialog(QWidget* parent, FileDialogState& state) = 0;
  // Shows a save dialog from state; true when the user chose, with
  // state.fileName set to the full path.
  virtual bool runSaveDialog(QWidget* parent, FileDialogState& state) = 0;

  // Runs a modal dialog (the map-parameters dialog); true for OK.
  virtual bool runModal(QDialog& dialog) = 0;
};

// The error box's text: "." appended when the last character sorts after ".".
QString ErrorBoxText(const QString& message);

}  // namespace kxc2
