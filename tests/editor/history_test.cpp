// Undo and redo of every kind of grid change, the stack's life and the
// unsaved marker in the title.
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/hex_change.h"
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
    zoom(true);
  }

  MapGrid& grid() { return form.document().grid; }
  const ViewState& view() { return form.viewState(); }
  void zoom(bool in) { in ? form.ZoomIn1->trigger() : form.ZoomOut1->trigger(); }
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
  QImage fullRedraw() { return test::WithSelectionFrame(test::FramelessFullRedraw(grid(), view()), view()); }
  QString shownTitle() const { return form.windowHandle()->title(); }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form;
};

struct ChangeCase {
  const char* name;
  const char* undoText;
  std::function<void(HistoryTest&)> change;
  std::function<void(HistoryTest&)> prepare = [](HistoryTest&) {};
};

// Each kind of change, at both zoom levels: undo gives back every byte and
// the picture before it (the frame where the selection now is), redo what a
// full redraw of the change shows.
TEST_F(HistoryTest, UndoAndRedoRestoreBytesAndPictureOfEveryKindOfChange) {
  const ChangeCase cases[] = {
      {"paint", "Undo Paint River", [](HistoryTest& t) { t.paint(kRiver, 11, 15); }},
      {"Ocean clears roads", "Undo Paint Ocean", [](HistoryTest& t) { t.paint(kOcean, 9, 13); },
       [](HistoryTest& t) { t.grid().setRoadMask(9, 13, 0xFF); }},
      {"road box", "Undo Roads",
       [](HistoryTest& t) {
         QTest::mouseClick(t.form.Road2, Qt::LeftButton, Qt::NoModifier, QPoint(3, 8));
       }},
      {"road key", "Undo Roads", [](HistoryTest& t) { t.key(Qt::Key_D); }},
      {"every hex with its opaque bytes", "Undo Fill",
       [](HistoryTest& t) {
         HexChange change(QStringLiteral("Fill"));
         for (int column = 0; column < kGridColumns; ++column)
           for (int row = 0; row < kGridRows; ++row) {
             HexRecord record = PaintedRecord(t.grid().record(column, row), kStream);
             record[6] ^= 0xA5;
             change.set(t.grid(), column, row, record);
           }
         EXPECT_TRUE(t.form.applyHexChange(std::move(change)));
       }},
  };
  for (const bool zoomedIn : {true, false}) {
    for (const ChangeCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (zoomedIn ? " zoomed in" : " zoomed out"));
      c.prepare(*this);
      zoom(zoomedIn);
      const MapGrid before = grid();
      const QImage framelessBefore = test::FramelessFullRedraw(grid(), view());
      ASSERT_TRUE(test::SamePicture(form.picture(), test::WithSelectionFrame(framelessBefore, view())));
      c.change(*this);
      const MapGrid after = grid();
      ASSERT_NE(after, before);
      EXPECT_EQ(form.Undo1->text(), c.undoText);
      form.Undo1->trigger();
      EXPECT_EQ(grid(), before);
      EXPECT_TRUE(test::SamePicture(form.picture(), test::WithSelectionFrame(framelessBefore, view())));
      EXPECT_EQ(form.Redo1->text(), QString(c.undoText).replace("Undo", "Redo"));
      form.Redo1->trigger();
      EXPECT_EQ(grid(), after);
      EXPECT_TRUE(test::SamePicture(form.picture(), fullRedraw()));
      form.Undo1->trigger();
    }
  }
}

// Paint, roads, undo and redo in a row, against a model of the grid.
TEST_F(HistoryTest, SequenceOfChangesUndoesAndRedoesLikeTheModel) {
  std::vector<MapGrid> model{grid()};
  std::size_t at = 0;
  const auto changed = [&] {
    model.resize(at + 1);
    model.push_back(model.back());
    ++at;
    return &model.back();
  };
  struct Step {
    char what;  // p paint City, o paint Ocean, e road key E, u undo, r redo
    int column, row;
  };
  const Step steps[] = {{'p', 12, 12}, {'e', 0, 0}, {'e', 0, 0}, {'u', 0, 0}, {'r', 0, 0},
                        {'u', 0, 0},   {'u', 0, 0}, {'o', 12, 12}, {'u', 0, 0}, {'u', 0, 0},
                        {'r', 0, 0},   {'e', 0, 0}, {'o', 13, 12}, {'p', 13, 12}};
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(1, step.what));
    const HexCoord selected{view().SelectedColumn, view().SelectedRow};
    switch (step.what) {
      case 'p':
      case 'o': {
        const int code = step.what == 'p' ? kCity : kOcean;
        HexRecord& record = changed()->mutableRecord(step.column, step.row);
        record = PaintedRecord(record, code);
        paint(code, step.column, step.row);
        break;
      }
      case 'e': {
        // The boxes show the selected hex: the key flips its north road.
        MapGrid& next = *changed();
        next.setRoadMask(selected.column, selected.row,
                         (next.roadMask(selected.column, selected.row) & 0xBB) ^ kRoadNorth);
        key(Qt::Key_E);
        break;
      }
      case 'u': form.Undo1->trigger(); --at; break;
      case 'r': form.Redo1->trigger(); ++at; break;
    }
    if (at > 0 && at + 1 == model.size() && model[at] == model[at - 1]) {
      model.pop_back();  // no byte changed: no step
      --at;
    }
    EXPECT_EQ(grid(), model[at]);
    EXPECT_EQ(form.undoStack()->index(), int(at));
    EXPECT_EQ(form.undoStack()->count(), int(model.size() - 1));
    EXPECT_EQ(form.Undo1->isEnabled(), at > 0);
    EXPECT_EQ(form.Redo1->isEnabled(), at + 1 < model.size());
  }
}

TEST_F(HistoryTest, UnchangedBytesAddNoStepAndUndoUpdatesTheSelectedHexsControls) {
  paint(kClear, 12, 12);
  paint(kClear, 12, 12);  // the same terrain again
  HexChange nothing(QStringLiteral("Nothing"));
  nothing.set(grid(), 3, 3, grid().record(3, 3));
  EXPECT_FALSE(form.applyHexChange(std::move(nothing)));
  EXPECT_EQ(form.undoStack()->count(), 1);

  QSignalSpy changes(&form, &TForm1::hexesChanged);
  key(Qt::Key_E);
  key(Qt::Key_F);
  ASSERT_EQ(changes.size(), 2);
  EXPECT_EQ(changes[1][0].value<QVector<QPoint>>(), QVector<QPoint>{QPoint(12, 12)});
  click(Qt::RightButton, 14, 14);  // the selection moves away and back by undo's effect only
  click(Qt::RightButton, 12, 12);
  form.Undo1->trigger();
  form.Undo1->trigger();
  form.Undo1->trigger();
  EXPECT_EQ(changes.size(), 5);
  EXPECT_FALSE(form.Road1->isChecked());
  EXPECT_EQ(form.headerSection(1), "Selected: ( 12, 12 ) " +
                                       QString::fromStdString(DisplayNameOrUnknown(grid().terrain(12, 12))) + " ");
  EXPECT_EQ(view().SelectedColumn, 12);
  EXPECT_EQ(view().OriginColumn, 3);
}

TEST_F(HistoryTest, NewAndOpenEmptyTheStack) {
  paint(kCity, 12, 12);
  QSignalSpy replaced(&form, &TForm1::mapReplaced);
  dialogs.confirmAnswers = {Answer::No};
  form.New1->trigger();
  EXPECT_EQ(form.undoStack()->count(), 0);
  EXPECT_FALSE(form.Undo1->isEnabled());
  paint(kCity, 2, 2);
  dialogs.confirmAnswers = {Answer::No};
  const std::string file = folder.file("a.map");
  dialogs.openChoices.push_back([file](FileDialogState& state) {
    state.fileName = QString::fromStdString(file);
    return true;
  });
  test::WriteBytes(file, std::vector<std::uint8_t>(14561, 1));
  form.Open1->trigger();
  EXPECT_EQ(form.undoStack()->count(), 0);
  EXPECT_EQ(replaced.size(), 2);
}

TEST_F(HistoryTest, TitleMarksUnsavedChangesThroughSaveUndoAndRedo) {
  const std::string file = folder.file("m.map");
  const auto save = [&] {
    dialogs.modalChoices.push_back([](QDialog&) { return true; });
    dialogs.saveChoices.push_back([file](FileDialogState& state) {
      state.fileName = QString::fromStdString(file);
      return true;
    });
    form.SaveAs1->trigger();
  };
  const QString clean = "Korvex Command 2 Mapmaker";
  const QString marked = clean + "*";
  EXPECT_EQ(shownTitle(), clean);
  paint(kCity, 12, 12);
  EXPECT_EQ(shownTitle(), marked);
  save();
  EXPECT_EQ(shownTitle(), clean);
  paint(kSand, 12, 12);
  EXPECT_EQ(shownTitle(), marked);
  form.Undo1->trigger();  // back at the saved state
  EXPECT_EQ(shownTitle(), clean);
  form.Undo1->trigger();  // past it
  EXPECT_EQ(shownTitle(), marked);
  form.Redo1->trigger();
  EXPECT_EQ(shownTitle(), clean);
  EXPECT_EQ(form.headerSection(0), "m - 44W x 39H - No. 32");
}

// With nothing to undo the shortcut's key press reaches the window, and
// must not be typed as a road key into the selected hex.
TEST_F(HistoryTest, UndoShortcutsAreNoRoadKeysInAnyControl) {
  form.Road3->setChecked(!form.Road3->isChecked());  // a road key would write this
  const MapGrid before = grid();
  for (QWidget* focus : std::initializer_list<QWidget*>{form.Road1, form.TerrainList, form.LMBCheck}) {
    focus->setFocus();
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid(), before) << focus->objectName().toStdString();
  }
  EXPECT_EQ(form.undoStack()->count(), 0);
  paint(kCity, 12, 12);
  form.TerrainList->setFocus();
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(grid(), before);
  EXPECT_EQ(form.undoStack()->index(), 0);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(grid().terrain(12, 12), kCity);
  EXPECT_EQ(form.undoStack()->count(), 1);
}

}  // namespace
}  // namespace kxc2
