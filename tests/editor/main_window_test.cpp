// What the main window adds to the editor (whose behaviour
// tests/editing/ checks): its controls reach the handlers, it shows the
// snapshot, keys and drops reach it, and its shell maps the dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include "core/map_file.h"
#include "core/road_mask.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/image_control.h"
#include "editor/road_box.h"
#include "export/bmp_reader.h"
#include "export/bmp_writer.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using namespace std::chrono_literals;

// A shown window started on a game folder, holding a new map.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    const std::string ini = "[Locations]\r\nKC2=" + game.folder() + "\r\n";
    test::WriteBytes(program.path() / "KXC2MAP.INI", {ini.begin(), ini.end()});
    QDir(QString::fromStdString(RecoveryStore::DefaultFolder())).removeRecursively();
    form = std::make_unique<TForm1>(dialogs, QString::fromStdString(program.folder()));
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->New1->trigger();
  }
  MapGrid& grid() { return form->document().grid; }
  QPoint centre(int column, int row) const { return test::HexCentre(form->viewState(), column, row); }
  void click(Qt::MouseButton button, int column, int row, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(form->MapImage, button, keys, centre(column, row));
  }
  void type(char key) { QTest::keyClick(QApplication::focusWidget(), key); }
  void chooseFile(std::deque<test::ScriptedDialogs::FileChoice>& queue, const std::string& path) {
    queue.push_back([path](FileDialogState& state) { return state.fileName = QString::fromStdString(path), true; });
  }

  test::TempDir program;
  test::TempDir game;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowTest, TheControlsReachTheEditorAndShowItsSnapshot) {
  QSignalSpy changes(form.get(), &TForm1::hexesChanged);
  QSignalSpy replaced(form.get(), &TForm1::mapReplaced);
  EXPECT_TRUE(!form->MapImage->isHidden() && form->SaveAs1->isEnabled() && form->FillArea1->isEnabled());
  const auto title = [this] { return form->windowHandle()->title().toStdString(); };
  form->TerrainList->setCurrentRow(kCity);
  click(Qt::LeftButton, 3, 2);
  EXPECT_EQ(grid().terrain(3, 2), kCity);
  EXPECT_EQ(form->headerSection(1), "Selected: ( 03, 02 ) City ");
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker*");
  EXPECT_EQ(form->Undo1->text(), "&Undo Paint City");
  EXPECT_TRUE(form->Undo1->isEnabled() && !form->Redo1->isEnabled());
  EXPECT_EQ(changes.size(), 1);
  EXPECT_EQ(changes[0][0].value<QVector<QPoint>>(), QVector<QPoint>{QPoint(3, 2)});
  form->Undo1->trigger();
  EXPECT_EQ(grid().terrain(3, 2), kClear);
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker");
  EXPECT_EQ(form->Redo1->text(), "&Redo Paint City");
  form->Redo1->trigger();
  EXPECT_EQ(grid().terrain(3, 2), kCity);

  // A pick shows the hex's terrain and roads; an unknown code shows none.
  grid().setTerrain(5, 5, kForest);
  grid().setRoadMask(5, 5, kRoadNorth | kRoadSouth);
  click(Qt::RightButton, 5, 5);
  EXPECT_EQ(form->TerrainList->currentRow(), kForest);
  EXPECT_TRUE(form->Road1->isChecked() && form->Road4->isChecked() && !form->Road2->isChecked());
  grid().setTerrain(7, 7, 200);
  click(Qt::RightButton, 7, 7);
  EXPECT_EQ(form->TerrainList->currentRow(), -1);
  EXPECT_TRUE(form->TerrainList->selectedItems().isEmpty());
  // A box's click toggles it and places the boxes; a right click only places them.
  const auto clickBox = [](QCheckBox* box, Qt::MouseButton button) {
    QTest::mouseClick(box, button, {}, QPoint(3, box->height() / 2));
  };
  clickBox(form->Road2, Qt::LeftButton);
  EXPECT_EQ(grid().roadMask(7, 7), kRoadNorthEast);
  grid().setRoadMask(7, 7, 0);
  clickBox(form->Road1, Qt::RightButton);
  EXPECT_EQ(grid().roadMask(7, 7), kRoadNorthEast);
  // Without "LMB sets terrain" the left button picks.
  clickBox(form->LMBCheck, Qt::LeftButton);
  click(Qt::LeftButton, 5, 5);
  EXPECT_EQ(form->TerrainList->currentRow(), kForest);
  EXPECT_EQ(grid().terrain(5, 5), kForest);

  form->HScrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  form->ZoomOut1->trigger();
  EXPECT_TRUE(form->ZoomOut1->isChecked() && !form->ZoomIn1->isChecked());
  EXPECT_FALSE(form->HScrollBar->isEnabled() || form->VScrollBar->isEnabled());
  EXPECT_EQ(form->HScrollBar->value(), 13);
  form->MapBounds1->trigger();
  EXPECT_TRUE(form->MapBounds1->isChecked() && form->editor().snapshot().mapBounds);
  dialogs.confirmAnswers = {Answer::No};
  form->New1->trigger();
  EXPECT_EQ(replaced.size(), 1);
}

// Each kind of notification moves the view; setting a value raises none.
TEST_F(MainWindowTest, ScrollBarNotificationsMoveTheView) {
  const struct {
    bool horizontal;
    QAbstractSlider::SliderAction action;
    int column, row;
  } steps[] = {
      {true, QAbstractSlider::SliderSingleStepAdd, 1, 0},  {true, QAbstractSlider::SliderPageStepAdd, 14, 0},
      {false, QAbstractSlider::SliderPageStepAdd, 14, 9},  {false, QAbstractSlider::SliderSingleStepSub, 14, 8},
      {true, QAbstractSlider::SliderToMaximum, 31, 8},     {true, QAbstractSlider::SliderPageStepAdd, 31, 8},
      {false, QAbstractSlider::SliderToMaximum, 31, 30},   {true, QAbstractSlider::SliderPageStepSub, 18, 30},
      {false, QAbstractSlider::SliderToMinimum, 18, 0},
  };
  const auto origin = [this] { return std::pair(form->viewState().OriginColumn, form->viewState().OriginRow); };
  for (const auto& step : steps) {
    (step.horizontal ? form->HScrollBar : form->VScrollBar)->triggerAction(step.action);
    EXPECT_EQ(origin(), std::pair(step.column, step.row));
  }
  form->VScrollBar->setSliderDown(true);  // the thumb dragged
  for (const int position : {1, 4, 30, 12}) {
    form->VScrollBar->setSliderPosition(position);
    EXPECT_EQ(origin(), std::pair(18, position));
  }
  form->VScrollBar->setSliderDown(false);
  EXPECT_EQ(form->VScrollBar->value(), 12);
  form->HScrollBar->setValue(20);
  form->VScrollBar->setValue(7);
  EXPECT_EQ(origin(), std::pair(18, 12));
}

TEST_F(MainWindowTest, MouseAndShortcutsReachTheEditor) {
  QTest::mouseMove(form->MapImage, centre(5, 6));
  EXPECT_EQ(form->headerSection(2), "Cursor at: ( 05, 06 ) Clear ");
  form->TerrainList->setCurrentRow(kRiver);
  // Ctrl+Z ends a drag and takes it back; its release paints nothing.
  QTest::mousePress(form->MapImage, Qt::LeftButton, {}, centre(2, 2));
  QTest::mouseMove(form->MapImage, centre(6, 2));
  QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
  QTest::mouseRelease(form->MapImage, Qt::LeftButton, {}, centre(9, 2));
  EXPECT_EQ(grid(), MapGrid{});
  QTest::mousePress(form->MapImage, Qt::LeftButton, {}, centre(2, 2));
  QTest::mouseMove(form->MapImage, centre(2, 4));
  QTest::mouseRelease(form->MapImage, Qt::LeftButton, {}, centre(2, 4));
  EXPECT_EQ(std::tuple(grid().terrain(2, 2), grid().terrain(2, 3), grid().terrain(2, 4)),
            std::tuple(kRiver, kRiver, kRiver));
  form->TerrainList->setCurrentRow(kSand);
  click(Qt::LeftButton, 10, 10, Qt::ShiftModifier);
  EXPECT_EQ(form->Undo1->text(), "&Undo Fill Sand");
  EXPECT_EQ(grid().terrain(20, 30), kSand);
  click(Qt::MiddleButton, 2, 3);
  form->TerrainList->setCurrentRow(kHill);
  QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(std::tuple(grid().terrain(2, 2), grid().terrain(2, 4), grid().terrain(3, 3)),
            std::tuple(kHill, kHill, kSand));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(form->MapImage, &leave);
  EXPECT_EQ(form->headerSection(2), "Hex Under Cursor");
}

// The window sees each typed character once, wherever the focus is, before
// the control with the focus; keys that type nothing are no road keys.
TEST_F(MainWindowTest, CharactersReachTheRoadKeysOnceFromAnyFocus) {
  click(Qt::MiddleButton, 6, 6);
  auto* edit = new QLineEdit(form->centralWidget());  // a control made later
  edit->show();
  std::uint8_t mask = 0;
  int steps = form->history().index();
  for (QWidget* place : std::initializer_list<QWidget*>{form.get(), form->TerrainList, form->Road3, form->LMBCheck, edit}) {
    place->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), place) << place->objectName().toStdString();
    for (const char key : {'e', 'E'}) {
      type(key);
      mask ^= kRoadNorth;
      EXPECT_EQ(grid().roadMask(6, 6), mask) << place->objectName().toStdString() << key;
      EXPECT_EQ(form->history().index(), ++steps);  // one write, not one a receiver
    }
  }
  EXPECT_EQ(edit->text(), "eE");  // and the control still gets them
  // The blank writes the boxes as they were, then toggles the focused box.
  form->Road1->setFocus();
  grid().setRoadMask(6, 6, kRoadSouth);
  type(' ');
  EXPECT_EQ(grid().roadMask(6, 6), 0);
  EXPECT_TRUE(form->Road1->isChecked());
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Return, Qt::KeyboardModifiers()},
                                       std::pair{Qt::Key_Z, Qt::KeyboardModifiers(Qt::ControlModifier)},
                                       std::pair{Qt::Key_Y, Qt::KeyboardModifiers(Qt::ControlModifier)},
                                       std::pair{Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}}) {
    form->Undo1->setEnabled(false), form->Redo1->setEnabled(false);  // the keys reach the window
    grid().setRoadMask(6, 6, kRoadSouth);
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    EXPECT_EQ(grid().roadMask(6, 6), kRoadSouth) << key;
  }
}

// Ctrl with a click or the blank would take the list's only selection away;
// the chosen terrain stays chosen and painted.
TEST_F(MainWindowTest, CtrlOnTheChosenTerrainKeepsItChosen) {
  QListWidget& list = *form->TerrainList;
  const auto at = [&list](int row) { return list.visualItemRect(list.item(row)).center(); };
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at(kForest));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, at(kForest));
  EXPECT_EQ(list.selectedItems(), QList<QListWidgetItem*>{list.item(kForest)});
  click(Qt::LeftButton, 4, 4);
  EXPECT_EQ(grid().terrain(4, 4), kForest);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at(kHill));
  QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(list.currentRow(), kHill);
  EXPECT_EQ(list.selectedItems(), QList<QListWidgetItem*>{list.item(kHill)});
  click(Qt::LeftButton, 5, 4);
  EXPECT_EQ(grid().terrain(5, 4), kHill);
}

// Only one local .map file is taken from a drop; File > Recent Maps lists
// the editor's maps and opens them.
TEST_F(MainWindowTest, DroppedMapsAndRecentMaps) {
  const auto path = [this](const char* name) { return QString::fromStdString(game.file(name)); };
  WriteMapFile(game.file("a.map"), MapDocument{{40, 30, 20}, {}});
  WriteMapFile(game.file("B.MAP"), MapDocument{{42, 16, 11}, {}});
  const auto drop = [this](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &event);
    return true;
  };
  const struct {
    const char* name;
    QList<QUrl> urls;
    bool accepted;
  } cases[] = {
      {"a text file", {QUrl::fromLocalFile(path("notes.txt"))}, false},
      {"two maps", {QUrl::fromLocalFile(path("a.map")), QUrl::fromLocalFile(path("B.MAP"))}, false},
      {"a web address", {QUrl("https://example.org/a.map")}, false},
      {"nothing", {}, false},
      {"a map in capitals", {QUrl::fromLocalFile(path("B.MAP"))}, true},
      {"another", {QUrl::fromLocalFile(path("a.map"))}, true},
  };
  EXPECT_FALSE(form->RecentMaps1->isEnabled());
  for (const auto& c : cases) {
    dialogs.confirmAnswers.push_back(Answer::No);
    EXPECT_EQ(drop(c.urls), c.accepted) << c.name;
  }
  EXPECT_EQ(dialogs.confirmQuestions.size(), 2);
  EXPECT_EQ(form->headerSection(0), "a - 30W x 20H - No. 40");
  QStringList texts;
  for (QAction* action : form->RecentMaps1->actions()) texts << action->text();
  EXPECT_EQ(texts, (QStringList{"&1  " + path("a.map"), "&2  " + path("B.MAP")}));
  dialogs.confirmAnswers.push_back(Answer::No);
  form->RecentMaps1->actions().at(1)->trigger();
  EXPECT_EQ(form->headerSection(0), "B - 16W x 11H - No. 42");
}

// The editor's questions and dialogs go to the user's boxes: the file
// dialogs' settings both ways, and the map-parameters dialog's fields.
TEST_F(MainWindowTest, TheShellAsksThroughTheDialogs) {
  bool seasonShown = true;
  dialogs.modalChoices.push_back([&](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    seasonShown = form2.Terrtype->isEnabled();
    EXPECT_EQ(form2.SECols->value(), 44);
    form2.SEMapno->setValue(77);
    return true;
  });
  chooseFile(dialogs.saveChoices, game.file("m.map"));
  form->SaveAs1->trigger();
  EXPECT_FALSE(seasonShown);
  EXPECT_TRUE(form->parametersDialog().Terrtype->isEnabled());
  ASSERT_EQ(dialogs.saveShown.size(), 1u);
  const FileDialogState& shown = dialogs.saveShown[0];
  // The dialog's other settings: editor_commands_test (SaveDialogProposes...), qt_user_dialogs_test.
  EXPECT_TRUE(shown.title == "Save KC2 Map Description" && shown.fileName.isEmpty());
  EXPECT_EQ(test::ReadBytes(game.file("m.map")).at(0), 77);
  EXPECT_EQ(form->headerSection(0), "m - 44W x 39H - No. 77");

  // Paint .BMPs shows the season and takes the winter set when chosen.
  Image winter(765, 50, Image::Format_Indexed8);
  winter.setColorTable(std::vector<Rgb>(256, MakeRgb(1, 2, 3)));
  winter.fill(3);
  SaveBmp8(program.file("WT50x45.bmp"), winter);
  dialogs.modalChoices.push_back([&](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    seasonShown = form2.Terrtype->isEnabled();
    form2.SECols->setValue(16), form2.SERows->setValue(11), form2.setTerrainIndex(1);
    return true;
  });
  form->PaintBMPs1->trigger();
  EXPECT_TRUE(seasonShown);
  const Image piece = ReadIndexedBmp(test::ReadBytes(game.path() / "UserBMP" / "Map7711.bmp"), "piece");
  EXPECT_EQ(piece.pixelIndex(0, 0), 3);
  EXPECT_EQ(dialogs.notices.size(), 1);

  chooseFile(dialogs.openChoices, game.file("none.map"));
  dialogs.confirmAnswers.push_back(Answer::No);
  form->Open1->trigger();
  EXPECT_EQ(dialogs.errors, QStringList{"File not found"});
}

TEST_F(MainWindowTest, ExitAsksThroughTheCloseRequestAndAboutIsModeless) {
  form->About1Click();
  form->About1Click();
  EXPECT_EQ(form->findChildren<TForm3*>().size(), 1);
  EXPECT_TRUE(form->Form3->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  dialogs.confirmAnswers = {Answer::Cancel, Answer::No};
  form->Exit1->trigger();
  EXPECT_TRUE(form->isVisible());
  form->Exit1->trigger();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(dialogs.confirmQuestions, QStringList(2, "Do you want to save this map before exiting?"));
}

// The real window thread runs the recovery copy's timers and reports; a
// window starting up offers the copies of editors that did not end normally.
TEST_F(MainWindowTest, TheWindowThreadKeepsTheRecoveryCopyAndStartUpOffersIt) {
  const QString own = QString::fromStdString(form->recovery().store().mapPath());
  form->recovery().setDelays(20ms, 1000ms);
  form->TerrainList->setCurrentRow(kCity);
  click(Qt::LeftButton, 1, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(own); }, 5000));
  ASSERT_TRUE(form->recovery().waitForWrites());
  const QString folder = QString::fromStdString(RecoveryStore::DefaultFolder());
  QFile::copy(own, folder + "/left.map");
  QFile::copy(QString(own).replace(".map", ".json"), folder + "/left.json");
  form.reset();
  dialogs.confirmAnswers = {Answer::No};
  TForm1 next(dialogs, QString::fromStdString(program.folder()));
  ASSERT_EQ(dialogs.confirmQuestions.size(), 1);
  EXPECT_TRUE(dialogs.confirmQuestions[0].startsWith("An editor that did not end normally left a recovery copy"));
  EXPECT_FALSE(QFile::exists(folder + "/left.map"));

  // A folder that cannot be made: the report comes through the window thread.
  QDir(folder).removeRecursively();
  QFile(folder).open(QIODevice::WriteOnly);
  next.New1Click();
  next.recovery().setDelays(20ms, 1000ms);
  next.TerrainList->setCurrentRow(kSand);
  QTest::mouseClick(next.MapImage, Qt::LeftButton, {}, test::HexCentre(next.viewState(), 1, 1));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.errors.isEmpty(); }, 5000));
  QFile::remove(folder);
}

}  // namespace
}  // namespace kxc2
