// The real message boxes and file dialogs, found while they run.
#include "editor/qt_user_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::TempDir;
using test::WriteBytes;

// Runs check on the modal widget once the event loop of the box has started.
template <typename Widget>
void WhenShown(std::function<void(Widget&)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* widget = qobject_cast<Widget*>(modal);
    ASSERT_NE(widget, nullptr);
    check(*widget);
  });
}

struct BoxSeen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Records the box, then presses key (or clicks button when key is 0).
void AnswerBox(BoxSeen& seen, int key, QMessageBox::StandardButton button = QMessageBox::NoButton) {
  WhenShown<QMessageBox>([&seen, key, button](QMessageBox& box) {
    seen.title = box.windowTitle();
    seen.text = box.text();
    seen.icon = box.icon();
    seen.buttons = box.standardButtons();
    seen.defaultButton = box.standardButton(box.defaultButton());
    if (key)
      QTest::keyClick(&box, static_cast<Qt::Key>(key));
    else
      box.button(button)->click();
  });
}

TEST(QtNameFiltersTest, PipeListBecomesQtFilters) {
  EXPECT_EQ(QtNameFilters("KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe"),
            (QStringList{"KC2 Maps (*.map)", "KC2 Bitmaps (Map*.bmp)", "KC2 Program (Korvex2.exe)"}));
  EXPECT_EQ(QtNameFilters("Pictures|*.bmp;*.png"), QStringList{"Pictures (*.bmp *.png)"});
  EXPECT_EQ(QtNameFilters(""), QStringList{});
}

struct ConfirmCase {
  int key;
  QMessageBox::StandardButton button;
  Answer answer;
};

TEST(QtUserDialogsTest, ConfirmBox) {
  const ConfirmCase cases[] = {{Qt::Key_Escape, QMessageBox::NoButton, Answer::Cancel},
                               {Qt::Key_Return, QMessageBox::NoButton, Answer::Yes},
                               {0, QMessageBox::No, Answer::No},
                               {0, QMessageBox::Cancel, Answer::Cancel},
                               {0, QMessageBox::Yes, Answer::Yes}};
  QtUserDialogs dialogs;
  for (const ConfirmCase& c : cases) {
    BoxSeen seen;
    AnswerBox(seen, c.key, c.button);
    EXPECT_EQ(dialogs.confirm(nullptr, "Save first?"), c.answer);
    EXPECT_EQ(seen.title, "Confirm");
    EXPECT_EQ(seen.text, "Save first?");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
  }
}

TEST(QtUserDialogsTest, ClosingTheConfirmBoxIsCancel) {
  QtUserDialogs dialogs;
  WhenShown<QMessageBox>([](QMessageBox& box) { box.close(); });
  EXPECT_EQ(dialogs.confirm(nullptr, "?"), Answer::Cancel);
}

TEST(QtUserDialogsTest, WarningBox) {
  QtUserDialogs dialogs;
  BoxSeen seen;
  AnswerBox(seen, Qt::Key_Escape);
  EXPECT_FALSE(dialogs.warn(nullptr, "Replace?"));
  EXPECT_EQ(seen.title, "Warning");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  AnswerBox(seen, 0, QMessageBox::Yes);
  EXPECT_TRUE(dialogs.warn(nullptr, "Replace?"));
}

TEST(QtUserDialogsTest, ErrorAndNoticeBoxes) {
  QtUserDialogs dialogs;
  BoxSeen seen;
  AnswerBox(seen, Qt::Key_Return);
  dialogs.showError(nullptr, "Read beyond end of file");
  EXPECT_EQ(seen.title, "KxC2Map");
  EXPECT_EQ(seen.text, "Read beyond end of file.");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  AnswerBox(seen, Qt::Key_Escape);
  dialogs.notify(nullptr, "Bitmaps painted.");
  EXPECT_EQ(seen.title, "KxC2Map");
  EXPECT_EQ(seen.text, "Bitmaps painted.");
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST(QtUserDialogsTest, RunModalReportsOk) {
  QtUserDialogs dialogs;
  QDialog dialog;
  QTimer::singleShot(0, &dialog, &QDialog::accept);
  EXPECT_TRUE(dialogs.runModal(dialog));
  QTimer::singleShot(0, &dialog, &QDialog::reject);
  EXPECT_FALSE(dialogs.runModal(dialog));
}

FileDialogState OpenState(const std::string& folder) {
  FileDialogState state;
  state.title = "Please locate KORVEX2.EXE";
  state.filter = "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe";
  state.filterIndex = 3;
  state.initialFolder = QString::fromStdString(folder);
  return state;
}

// Names the dialog lists in its folder once the folder has been read.
QStringList ListedNames(QFileDialog& dialog) {
  auto* view = dialog.findChild<QListView*>("listView");
  QStringList names;
  if (!view) return names;
  for (int i = 0; i < 100 && names.isEmpty(); ++i) {
    QTest::qWait(20);
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
      names << view->model()->index(row, 0, root).data().toString();
  }
  names.sort();
  return names;
}

TEST(FileDialogTest, ConfiguredFromTheState) {
  TempDir dir;
  QFileDialog dialog;
  FileDialogState state = OpenState(dir.folder());
  ConfigureFileDialog(dialog, state, false);
  EXPECT_EQ(dialog.windowTitle(), "Please locate KORVEX2.EXE");
  EXPECT_EQ(dialog.nameFilters(),
            (QStringList{"KC2 Maps (*.map)", "KC2 Bitmaps (Map*.bmp)", "KC2 Program (Korvex2.exe)"}));
  EXPECT_EQ(dialog.selectedNameFilter(), "KC2 Program (Korvex2.exe)");
  EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(QString::fromStdString(dir.folder())).canonicalPath());
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);

  FileDialogState save;
  save.title = "Save KC2 Map Description";
  save.filter = "KC2 Maps|*.map";
  save.defaultExtension = "map";
  save.overwritePrompt = true;
  QFileDialog saveDialog;
  ConfigureFileDialog(saveDialog, save, true);
  EXPECT_EQ(saveDialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(saveDialog.defaultSuffix(), "map");
  EXPECT_FALSE(saveDialog.testOption(QFileDialog::DontConfirmOverwrite));

  FileDialogState many = OpenState(dir.folder());
  many.multiSelect = true;
  QFileDialog manyDialog;
  ConfigureFileDialog(manyDialog, many, false);
  EXPECT_EQ(manyDialog.fileMode(), QFileDialog::ExistingFiles);
}

TEST(FileDialogTest, FiltersMatchWithoutRegardToCase) {
  TempDir dir;
  for (const char* name : {"korvex2.exe", "KORVEX2.EXE", "other.exe", "a.MAP", "b.map", "MAP451.BMP", "map01.bmp"})
    WriteBytes(dir.path() / name, {});
  struct FilterCase {
    int index;
    QStringList names;
  };
  const FilterCase cases[] = {{1, {"a.MAP", "b.map"}}, {2, {"MAP451.BMP", "map01.bmp"}}, {3, {"KORVEX2.EXE", "korvex2.exe"}}};
  for (const FilterCase& c : cases) {
    QFileDialog dialog;
    FileDialogState state = OpenState(dir.folder());
    state.filterIndex = c.index;
    ConfigureFileDialog(dialog, state, false);
    dialog.show();
    EXPECT_EQ(ListedNames(dialog), c.names) << c.index;
  }
}

TEST(FileDialogTest, OpenDialogReturnsTheChosenFile) {
  TempDir dir;
  WriteBytes(dir.path() / "korvex2.exe", {});
  QtUserDialogs dialogs;
  FileDialogState state = OpenState(dir.folder());
  WhenShown<QFileDialog>([](QFileDialog& dialog) {
    dialog.findChild<QLineEdit*>("fileNameEdit")->setText("korvex2.exe");
    static_cast<QDialog&>(dialog).accept();
  });
  ASSERT_TRUE(dialogs.runOpenDialog(nullptr, state));
  EXPECT_EQ(state.fileName, QString::fromStdString(dir.file("korvex2.exe")));
  EXPECT_EQ(state.files, QStringList{state.fileName});
  EXPECT_EQ(state.filterIndex, 3);
}

TEST(FileDialogTest, OpenDialogAcceptsANameThatDoesNotExist) {
  TempDir dir;
  QtUserDialogs dialogs;
  FileDialogState state = OpenState(dir.folder());
  state.filterIndex = 1;
  WhenShown<QFileDialog>([](QFileDialog& dialog) {
    dialog.findChild<QLineEdit*>("fileNameEdit")->setText("nothing.map");
    static_cast<QDialog&>(dialog).accept();
  });
  ASSERT_TRUE(dialogs.runOpenDialog(nullptr, state));
  EXPECT_EQ(state.fileName, QString::fromStdString(dir.file("nothing.map")));
}

TEST(FileDialogTest, EscapeCancelsAndKeepsTheState) {
  TempDir dir;
  QtUserDialogs dialogs;
  FileDialogState state = OpenState(dir.folder());
  state.fileName = "keep";
  WhenShown<QFileDialog>([](QFileDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_FALSE(dialogs.runOpenDialog(nullptr, state));
  EXPECT_EQ(state.fileName, "keep");
  EXPECT_TRUE(state.files.isEmpty());
}

TEST(FileDialogTest, SaveDialogAddsTheDefaultExtension) {
  TempDir dir;
  QtUserDialogs dialogs;
  FileDialogState state;
  state.filter = "KC2 Maps|*.map";
  state.defaultExtension = "map";
  state.overwritePrompt = true;
  state.initialFolder = QString::fromStdString(dir.folder());
  const std::pair<QString, std::string> cases[] = {{"river", "river.map"}, {"my.map.map", "my.map.map"},
                                                   {"plain.txt", "plain.txt"}};
  for (const auto& [typed, saved] : cases) {
    WhenShown<QFileDialog>([typed = typed](QFileDialog& dialog) {
      dialog.findChild<QLineEdit*>("fileNameEdit")->setText(typed);
      static_cast<QDialog&>(dialog).accept();
    });
    ASSERT_TRUE(dialogs.runSaveDialog(nullptr, state));
    EXPECT_EQ(state.fileName, QString::fromStdString(dir.file(saved)));
  }
}

}  // namespace
}  // namespace kxc2
