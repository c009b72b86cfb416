// Undo and redo of every kind of grid change, the stack's life and the
// unsaved marker in the title.
#include <QApplication>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/keys_window.h"
#include "editor/image_control.h"
#include "editor/road_box.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

// A shown window over the busy map, hex (10, 14) selected, fully redrawn.
class HistoryTest : public ::testing::Test {
 public:
  HistoryTest() : form(dialogs, QString::fromStdString(folder.folder())) {
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    form.New1->trigger();
    test::FillBusyMap(grid());
    click(Qt::RightButton, 10, 14);
    form.ZoomIn1->trigger();
  }

  MapGrid& grid() { return form.document().grid; }
  const ViewState& view() { return form.viewState(); }
  void click(Qt::MouseButton button, int column, int row) {
    QTest::mouseClick(form.MapImage, button, Qt::NoModifier, test::HexCentre(view(), column, row));
  }
  void paint(int code, int column, int row) {
    form.TerrainList->setCurrentRow(code);
    click(Qt::LeftButton, column, row);
  }
  void key(int keyCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(keyCode), modifiers);
  }
  QImage framed(const QImage& frameless) { return test::WithSelectionFrame(frameless, view()); }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form;
};

// At both zoom levels undo gives back every byte and the picture before the
// change (its frame where the selection now is); redo shows what a full
// redraw of the change shows.
TEST_F(HistoryTest, UndoAndRedoRestoreBytesAndPictureOfEveryKindOfChange) {
  const struct {
    const char* undoText;
    std::function<void()> change;
  } cases[] = {
      {"Undo Paint River", [this] { paint(kRiver, 11, 15); }},
      {"Undo Paint Ocean", [this] { paint(kOcean, 9, 13); }},  // over roads: clears them
      {"Undo Roads", [this] { QTest::mouseClick(form.Road2, Qt::LeftButton, {}, QPoint(3, 8)); }},
      {"Undo Roads", [this] { key(Qt::Key_D); }},
      {"Undo Fill", [this] {
         HexChange change("Fill");  // every hex, its opaque bytes too
         for (int column = 0; column < kGridColumns; ++column)
           for (int row = 0; row < kGridRows; ++row) {
             HexRecord record = PaintedRecord(grid().record(column, row), kStream);
             record[6] ^= 0xA5;
             change.set(grid(), column, row, record);
           }
         form.applyHexChange(std::move(change));
       }},
  };
  grid().setRoadMask(9, 13, 0xFF);
  for (QAction* zoom : {form.ZoomIn1, form.ZoomOut1})
    for (const auto& c : cases) {
      SCOPED_TRACE(c.undoText + zoom->text().toStdString());
      zoom->trigger();
      const MapGrid before = grid();
      const QImage frameless = test::FramelessFullRedraw(before, view());
      ASSERT_TRUE(test::SamePicture(form.picture(), framed(frameless)));
      c.change();
      const MapGrid after = grid();
      ASSERT_NE(after, before);
      EXPECT_EQ(WithoutAccessKey(form.Undo1->text()), c.undoText);
      form.Undo1->trigger();
      EXPECT_EQ(grid(), before);
      EXPECT_TRUE(test::SamePicture(form.picture(), framed(frameless)));
      EXPECT_EQ(WithoutAccessKey(form.Redo1->text()), QString(c.undoText).replace("Undo", "Redo"));
      form.Redo1->trigger();
      EXPECT_EQ(grid(), after);
      EXPECT_TRUE(test::SamePicture(form.picture(), framed(test::FramelessFullRedraw(after, view()))));
      form.Undo1->trigger();
    }
}

// Paint, roads, undo and redo in a row against a model of the grid's states;
// a change of no byte adds no step.
TEST_F(HistoryTest, SequenceOfChangesUndoesAndRedoesLikeTheModel) {
  std::vector<MapGrid> model{grid()};
  std::size_t at = 0;
  // p: City at (12, 12), o: Ocean at (13, 13), e: road key E, u: undo, r: redo
  for (const char step : std::string("peeuruuouureoop")) {
    SCOPED_TRACE(step);
    if (step == 'u' || step == 'r') {
      (step == 'u' ? form.Undo1 : form.Redo1)->trigger();
      at += step == 'u' ? -1 : 1;
    } else {
      MapGrid next = model[at];
      if (step == 'e') {  // the boxes show the selected hex: the key flips its north road
        const int c = view().SelectedColumn, r = view().SelectedRow;
        next.setRoadMask(c, r, (next.roadMask(c, r) & 0xBB) ^ kRoadNorth);
        key(Qt::Key_E);
      } else {
        const int code = step == 'p' ? kCity : kOcean, hex = step == 'p' ? 12 : 13;
        next.setRecord(hex, hex, PaintedRecord(next.record(hex, hex), code));
        paint(code, hex, hex);
      }
      if (next != model[at]) {
        model.resize(++at);
        model.push_back(next);
      }
    }
    EXPECT_EQ(grid(), model[at]);
    EXPECT_EQ(form.history().index(), int(at));
    EXPECT_EQ(form.history().count(), int(model.size() - 1));
    EXPECT_EQ(form.Undo1->isEnabled(), at > 0);
    EXPECT_EQ(form.Redo1->isEnabled(), at + 1 < model.size());
  }
}

// Changes of one stroke pushed in a row are one step; the next stroke is another.
TEST_F(HistoryTest, ChangesOfOneStrokeMergeIntoOneStep) {
  const MapGrid before = grid();
  const auto apply = [this](int stroke, int code, int column) {
    HexChange change(PaintText(code), stroke);
    change.set(grid(), column, 14, PaintedRecord(grid().record(column, 14), code));
    form.applyHexChange(std::move(change));
  };
  apply(7, kSand, 12);
  apply(7, kSand, 13);
  apply(7, kCity, 12);
  const MapGrid stroke = grid();
  apply(8, kHill, 14);
  EXPECT_EQ(form.history().count(), 2);
  form.Undo1->trigger();
  EXPECT_EQ(grid(), stroke);
  form.Undo1->trigger();
  EXPECT_EQ(grid(), before);
  EXPECT_TRUE(test::SamePicture(form.picture(), framed(test::FramelessFullRedraw(before, view()))));
}

// Undo brings the selected hex's roads and caption along, the selection and
// origin stay; the view's listeners hear of every write; New and Open empty
// the stack.
TEST_F(HistoryTest, UndoUpdatesTheSelectedHexAndNewAndOpenEmptyTheStack) {
  QSignalSpy changes(&form, &TForm1::hexesChanged);
  QSignalSpy replaced(&form, &TForm1::mapReplaced);
  paint(kSand, 12, 12);
  key(Qt::Key_E);
  click(Qt::RightButton, 14, 14);
  click(Qt::RightButton, 12, 12);
  form.Undo1->trigger();
  form.Undo1->trigger();
  EXPECT_EQ(changes.size(), 4);
  EXPECT_EQ(changes[3][0].value<QVector<QPoint>>(), QVector<QPoint>{QPoint(12, 12)});
  EXPECT_EQ(form.Road1->isChecked(), (grid().roadMask(12, 12) & kRoadNorth) != 0);
  EXPECT_EQ(form.headerSection(1), QString::fromStdString("Selected: ( 12, 12 ) " +
                                                          DisplayNameOrUnknown(grid().terrain(12, 12)) + " "));
  EXPECT_EQ(view(), (ViewState{true, 3, 10, 12, 12, true}));

  dialogs.confirmAnswers = {Answer::No, Answer::No};
  form.New1->trigger();
  EXPECT_EQ(form.history().count(), 0);
  paint(kCity, 2, 2);
  const std::string file = folder.file("a.map");
  test::WriteBytes(file, std::vector<std::uint8_t>(14561, 1));
  dialogs.openChoices.push_back([file](FileDialogState& state) {
    state.fileName = QString::fromStdString(file);
    return true;
  });
  form.Open1->trigger();
  EXPECT_EQ(form.history().count(), 0);
  EXPECT_FALSE(form.Undo1->isEnabled());
  EXPECT_EQ(replaced.size(), 2);
}

TEST_F(HistoryTest, TitleMarksUnsavedChangesThroughSaveUndoAndRedo) {
  dialogs.modalChoices.push_back([](QDialog&) { return true; });
  const QString file = QString::fromStdString(folder.file("m.map"));
  dialogs.saveChoices.push_back([file](FileDialogState& state) { return state.fileName = file, true; });
  const auto title = [this] { return form.windowHandle()->title().toStdString(); };
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker");
  paint(kCity, 12, 12);
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker*");
  form.SaveAs1->trigger();
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker");
  paint(kSand, 12, 12);
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker*");
  form.Undo1->trigger();  // back at the saved state
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker");
  form.Undo1->trigger();  // past it
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker*");
  form.Redo1->trigger();
  EXPECT_EQ(title(), "Korvex Command 2 Mapmaker");
  EXPECT_EQ(form.headerSection(0), "m - 44W x 39H - No. 32");
}

// With nothing to undo the shortcuts' key presses reach the window; they
// must not be typed as road keys into the selected hex.
TEST_F(HistoryTest, UndoShortcutsAreNoRoadKeysInAnyControl) {
  form.Road3->setChecked(!form.Road3->isChecked());  // a road key would write this
  const MapGrid before = grid();
  for (QWidget* focus : std::initializer_list<QWidget*>{form.Road1, form.TerrainList, form.LMBCheck}) {
    focus->setFocus();
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  }
  EXPECT_EQ(grid(), before);
  paint(kCity, 12, 12);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(grid(), before);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(grid().terrain(12, 12), kCity);
  EXPECT_EQ(form.history().count(), 1);
}

}  // namespace
}  // namespace kxc2
