// Painting by dragging and filling, through the real widgets: what they
// write, what one Undo takes back, and what they redraw.
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "draw/qt_bridge.h"
#include "editor/Unit1.h"
#include "editor/keys_window.h"
#include "editor/image_control.h"
#include "editing/paint_gestures.h"
#include "editor/road_box.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

class StrokeFillTest : public ::testing::Test {
 public:
  StrokeFillTest() : form(dialogs, QString::fromStdString(folder.folder())) {
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    form.New1->trigger();
    test::FillBusyMap(grid());
    form.RedrawView();
    form.ToggleFocusRect(0, 0);
  }
  MapGrid& grid() { return form.document().grid; }
  const ViewState& view() { return form.viewState(); }
  QPoint centre(int column, int row) { return test::HexCentre(view(), column, row); }
  // A press, moves through the points (each one event, however far), a release.
  void drag(const std::vector<QPoint>& points, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mousePress(form.MapImage, Qt::LeftButton, modifiers, points.front());
    for (std::size_t i = 1; i < points.size(); ++i) QTest::mouseMove(form.MapImage, points[i]);
    QTest::mouseRelease(form.MapImage, Qt::LeftButton, modifiers, points.back());
  }
  QString undoText() const { return WithoutAccessKey(form.Undo1->text()); }
  QImage fullRedrawWithFrame() {
    return test::WithSelectionFrame(test::FramelessFullRedraw(grid(), view()), view());
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form;
};

TEST_F(StrokeFillTest, AStrokePaintsEveryCrossedHexAsOneUndoStep) {
  const struct {
    const char* name;
    std::vector<HexCoord> through;  // hex centres the pointer jumps between
  } cases[] = {
      {"one fast jump across the view", {{0, 1}, {13, 8}}},
      {"slow, hex by hex", {{2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}}},
      {"there and back", {{12, 5}, {4, 5}, {12, 6}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MapGrid before = grid();
    const int steps = form.history().index();
    form.TerrainList->setCurrentRow(kRiver);
    std::vector<QPoint> points;
    for (const HexCoord& hex : c.through) points.push_back(centre(hex.column, hex.row));
    std::vector<HexCoord> expected;
    for (std::size_t i = 1; i < points.size(); ++i)
      for (const HexCoord& hex : HexesAlongSegment(view(), FromQPoint(points[i - 1]), FromQPoint(points[i])))
        expected.push_back(hex);
    drag(points);

    for (int column = 0; column < kGridColumns; ++column)
      for (int row = 0; row < kGridRows; ++row) {
        const bool painted = std::find(expected.begin(), expected.end(), HexCoord{column, row}) != expected.end();
        HexRecord wanted = before.record(column, row);
        if (painted) wanted = PaintedRecord(wanted, kRiver);
        ASSERT_EQ(grid().record(column, row), wanted) << column << "," << row;
      }
    EXPECT_EQ(form.history().index(), steps + 1);
    EXPECT_EQ(undoText(), "Undo Paint River");
    // The whole stroke shows as a full redraw would, its river lines joined.
    EXPECT_TRUE(test::SamePicture(form.picture(), fullRedrawWithFrame()));
    EXPECT_EQ(view().SelectedColumn, c.through.back().column);
    EXPECT_EQ(view().SelectedRow, c.through.back().row);
    EXPECT_EQ(form.headerSection(1), QString::asprintf("Selected: ( %.2d, %.2d ) River ", c.through.back().column,
                                                       c.through.back().row));
    form.Undo1->trigger();
    EXPECT_TRUE(grid() == before);
    form.RedrawView();  // the selection moved: compare against the old picture's hexes
    form.ToggleFocusRect(view().SelectedColumn, view().SelectedRow);
    EXPECT_TRUE(test::SamePicture(form.picture(), fullRedrawWithFrame()));
  }
}

// Ctrl+Z ends a drag as its release would and undoes all of it; the rest of
// the drag paints nothing. "Cursor at:" follows the grid under the pointer.
TEST_F(StrokeFillTest, UndoDuringADragTakesTheWholeStrokeAndTheCursorCaptionFollows) {
  const MapGrid before = grid();
  const auto cursorAt = [](int column, int row, int code) {
    return QString::asprintf("Cursor at: ( %.2d, %.2d ) %s ", column, row, DisplayNameOrUnknown(code).c_str()); };
  form.TerrainList->setCurrentRow(kRiver);
  QTest::mousePress(form.MapImage, Qt::LeftButton, Qt::NoModifier, centre(2, 2));
  QTest::mouseMove(form.MapImage, centre(6, 4));
  EXPECT_EQ(form.headerSection(2), cursorAt(6, 4, kRiver));
  QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(grid() == before);
  EXPECT_EQ(form.headerSection(2), cursorAt(6, 4, before.terrain(6, 4)));
  EXPECT_EQ(view().SelectedColumn, 6);
  QTest::mouseMove(form.MapImage, centre(9, 4));
  QTest::mouseRelease(form.MapImage, Qt::LeftButton, Qt::NoModifier, centre(9, 4));
  EXPECT_TRUE(grid() == before);
  form.Redo1->trigger();  // the stroke up to Ctrl+Z, none of the rest
  EXPECT_EQ(std::tuple(grid().terrain(2, 2), grid().terrain(6, 4), grid().terrain(9, 4)),
            std::tuple(kRiver, kRiver, before.terrain(9, 4)));
  EXPECT_EQ(form.headerSection(2), cursorAt(9, 4, before.terrain(9, 4)));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(form.MapImage, &leave);
  EXPECT_EQ(form.headerSection(2), "Hex Under Cursor");
}

TEST_F(StrokeFillTest, WithoutLmbSetsTerrainADragPaintsNothing) {
  const MapGrid before = grid();
  form.LMBCheck->setChecked(false);
  form.TerrainList->setCurrentRow(kOcean);
  drag({centre(1, 1), centre(9, 6)});
  EXPECT_TRUE(grid() == before);
  EXPECT_FALSE(form.Undo1->isEnabled());
}

TEST_F(StrokeFillTest, FillPaintsTheConnectedAreaAndRedrawsOnlyIt) {
  // A lake of Ocean the busy map does not have: a ring of City around it.
  for (int column = 20; column <= 24; ++column)
    for (int row = 20; row <= 24; ++row) grid().setTerrain(column, row, kCity);
  grid().setTerrain(22, 22, kSwamp);
  grid().setRoadMask(22, 22, 0x3F);
  form.RedrawView();
  form.ToggleFocusRect(0, 0);
  form.HScrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  form.VScrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const MapGrid before = grid();
  const std::vector<HexCoord> area = ConnectedArea(grid(), {21, 21});
  const QImage beforePicture = form.picture();

  form.TerrainList->setCurrentRow(kOcean);
  QTest::mouseClick(form.MapImage, Qt::LeftButton, Qt::ShiftModifier, centre(21, 21));
  EXPECT_EQ(undoText(), "Undo Fill Ocean");
  for (const HexCoord& hex : area) EXPECT_EQ(grid().terrain(hex.column, hex.row), kOcean);
  EXPECT_EQ(grid().terrain(22, 22), kSwamp);
  EXPECT_EQ(grid().roadMask(22, 22), 0x3F);
  // Outside the filled cells and the two frames, not a pixel moved.
  QImage outside = form.picture();
  QImage expectedOutside = beforePicture;
  const auto blank = [&](QImage& image, const Rect& rect) {
    for (int y = std::max(0, rect.top()); y <= std::min(image.height() - 1, rect.bottom()); ++y)
      for (int x = std::max(0, rect.left()); x <= std::min(image.width() - 1, rect.right()); ++x)
        image.setPixel(x, y, 0);
  };
  for (const HexCoord& hex : area)
    for (QImage* image : {&outside, &expectedOutside}) blank(*image, FocusRect(view(), hex.column, hex.row));
  for (QImage* image : {&outside, &expectedOutside}) blank(*image, FocusRect(view(), 0, 0));
  EXPECT_TRUE(test::SamePicture(outside, expectedOutside));

  form.Undo1->trigger();
  EXPECT_TRUE(grid() == before);
}

TEST_F(StrokeFillTest, FillAreaOnTheSelectionAndCtrlFIsNoRoadKey) {
  QTest::mouseClick(form.MapImage, Qt::MiddleButton, {}, centre(5, 5));
  const int code = grid().terrain(5, 5);
  const std::uint8_t mask = grid().roadMask(5, 5);
  const std::size_t areaSize = ConnectedArea(grid(), {5, 5}).size();
  form.TerrainList->setCurrentRow(code == kSand ? kHill : kSand);
  QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(grid().terrain(5, 5), code == kSand ? kHill : kSand);
  EXPECT_EQ(grid().roadMask(5, 5), mask);
  EXPECT_EQ(form.history().count(), 1);
  EXPECT_GE(areaSize, 1u);
  // The same terrain again changes nothing and adds no step.
  form.FillArea1->trigger();
  EXPECT_EQ(form.history().count(), 1);
}

}  // namespace
}  // namespace kxc2
