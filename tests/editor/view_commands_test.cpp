#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "draw/qt_bridge.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

// A shown window holding a busy map.
class ViewCommandsTest : public ::testing::Test {
 protected:
  ViewCommandsTest() : form(dialogs, QString::fromStdString(folder.folder())) {
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    form.New1->trigger();
    test::FillBusyMap(form.document().grid);
  }

  const ViewState& view() { return form.viewState(); }
  void select(int column, int row) {
    QTest::mouseClick(form.MapImage, Qt::MiddleButton, Qt::NoModifier,
                      test::HexCentre(view(), column, row));
  }
  // The whole view as a full redraw leaves it, with one frame.
  void expectFullViewWithFrame() {
    EXPECT_TRUE(test::SamePicture(form.picture(), test::WithSelectionFrame(
                                  test::FramelessFullRedraw(form.document().grid, view()), view())));
  }
  void expectOrigin(int column, int row) {
    EXPECT_EQ(view().OriginColumn, column);
    EXPECT_EQ(view().OriginRow, row);
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form;
};

TEST_F(ViewCommandsTest, ScrollNotificationsMoveTheOriginAndRedraw) {
  const struct {
    bool horizontal;
    QAbstractSlider::SliderAction action;
    int column;
    int row;
  } steps[] = {
      {true, QAbstractSlider::SliderSingleStepAdd, 1, 0},
      {true, QAbstractSlider::SliderPageStepAdd, 14, 0},
      {false, QAbstractSlider::SliderPageStepAdd, 14, 9},
      {false, QAbstractSlider::SliderSingleStepSub, 14, 8},
      {true, QAbstractSlider::SliderToMaximum, 31, 8},
      {true, QAbstractSlider::SliderPageStepAdd, 31, 8},  // the bar clamps
      {false, QAbstractSlider::SliderToMaximum, 31, 30},
      {true, QAbstractSlider::SliderPageStepSub, 18, 30},
      {false, QAbstractSlider::SliderToMinimum, 18, 0},
  };
  select(2, 3);
  for (const auto& step : steps) {
    (step.horizontal ? form.HScrollBar : form.VScrollBar)->triggerAction(step.action);
    expectOrigin(step.column, step.row);
    EXPECT_EQ(view().SelectedColumn, 2);
    EXPECT_EQ(view().SelectedRow, 3);
    expectFullViewWithFrame();
  }
}

// Where a part of a scroll bar lies under the current style.
QRect PartOf(QScrollBar* bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = bar->orientation();
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.pageStep = bar->pageStep();
  option.singleStep = bar->singleStep();
  option.upsideDown = false;
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST_F(ViewCommandsTest, ClickOnTheArrowScrollsOneColumn) {
  const QRect addLine = PartOf(form.HScrollBar, QStyle::SC_ScrollBarAddLine);
  ASSERT_FALSE(addLine.isEmpty());
  QTest::mouseClick(form.HScrollBar, Qt::LeftButton, Qt::NoModifier, addLine.center());
  expectOrigin(1, 0);
  expectFullViewWithFrame();
}

TEST_F(ViewCommandsTest, ThumbTrackingRedrawsAtEveryStepAndEndsOnTheFinalPosition) {
  select(10, 6);
  form.VScrollBar->setSliderDown(true);
  for (const int position : {1, 4, 9, 17, 30}) {
    form.VScrollBar->setSliderPosition(position);
    expectOrigin(0, position);
    expectFullViewWithFrame();
  }
  form.VScrollBar->setSliderPosition(12);
  form.VScrollBar->setSliderDown(false);
  expectOrigin(0, 12);
  EXPECT_EQ(form.VScrollBar->value(), 12);
  expectFullViewWithFrame();
}

TEST_F(ViewCommandsTest, DraggingTheThumbWithTheMouseTracksEveryStep) {
  select(3, 3);
  const QRect thumb = PartOf(form.HScrollBar, QStyle::SC_ScrollBarSlider);
  ASSERT_FALSE(thumb.isEmpty());
  QPoint at = thumb.center();
  SendMouse(form.HScrollBar, QEvent::MouseButtonPress, at, Qt::LeftButton);
  int moves = 0;
  while (form.HScrollBar->sliderPosition() < 31 && moves < 200) {
    at += QPoint(7, 0);
    SendMouse(form.HScrollBar, QEvent::MouseMove, at, Qt::LeftButton);
    ++moves;
    expectOrigin(form.HScrollBar->sliderPosition(), 0);
    expectFullViewWithFrame();
  }
  SendMouse(form.HScrollBar, QEvent::MouseButtonRelease, at, Qt::NoButton);
  EXPECT_EQ(form.HScrollBar->value(), 31);
  expectOrigin(31, 0);
  expectFullViewWithFrame();
}

TEST_F(ViewCommandsTest, SettingAPositionRaisesNoNotification) {
  const QImage before = form.picture();
  form.HScrollBar->setValue(20);
  form.VScrollBar->setValue(7);
  expectOrigin(0, 0);
  EXPECT_TRUE(test::SamePicture(form.picture(), before));
}

TEST_F(ViewCommandsTest, FrameOfAHexLeftOfTheWindowIsClipped) {
  select(0, 0);
  form.HScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  expectOrigin(1, 0);
  // Hex (0, 0) now sits at x -44..0: only the frame's right edge shows.
  expectFullViewWithFrame();
  EXPECT_NE(form.picture(), test::FramelessFullRedraw(form.document().grid, view()));
}

TEST_F(ViewCommandsTest, ZoomOutAndInCentreOnTheSelection) {
  select(8, 5);
  form.HScrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  form.ZoomOut1->trigger();
  EXPECT_FALSE(view().ZoomedIn);
  expectOrigin(0, 0);
  EXPECT_TRUE(form.ZoomOut1->isChecked());
  EXPECT_FALSE(form.ZoomIn1->isChecked());
  EXPECT_FALSE(form.HScrollBar->isEnabled());
  EXPECT_FALSE(form.VScrollBar->isEnabled());
  EXPECT_EQ(form.HScrollBar->value(), 13);  // positions stay as they were
  select(20, 15);
  expectFullViewWithFrame();
  // Zoomed out: the red marker on a road hex, the black strip on the right.
  form.document().grid.setRoadMask(3, 7, kRoadNorth);
  QTest::mouseClick(form.MapImage, Qt::LeftButton, Qt::NoModifier, test::HexCentre(view(), 3, 7));
  const QRect cell = ToQRect(CellRect(view(), 3, 7));
  EXPECT_EQ(form.picture().pixel(cell.topLeft() + QPoint(3, 3)), test::kMarkerRgb);
  EXPECT_EQ(form.picture().pixel(cell.topLeft() + QPoint(4, 4)), test::kMarkerRgb);
  EXPECT_EQ(form.picture().pixel(600, 300), test::kBlackRgb);

  select(20, 15);
  form.ZoomIn1->trigger();
  EXPECT_TRUE(view().ZoomedIn);
  expectOrigin(13, 11);
  EXPECT_TRUE(form.ZoomIn1->isChecked());
  EXPECT_FALSE(form.ZoomOut1->isChecked());
  EXPECT_TRUE(form.HScrollBar->isEnabled());
  EXPECT_EQ(form.HScrollBar->value(), 13);
  EXPECT_EQ(form.VScrollBar->value(), 11);
  expectFullViewWithFrame();
  // The selected hex lands in the eighth column and fifth row.
  EXPECT_EQ(PixelToHex(view(), 7 * 44 + 22, 4 * 50 + 25 - 25 + 10), (HexCoord{20, 15}));
}

TEST_F(ViewCommandsTest, ZoomInAtTheGridCornerAndRepeatedZoomIn) {
  form.ZoomOut1->trigger();
  QTest::mouseClick(form.MapImage, Qt::MiddleButton, Qt::NoModifier, {539, 474});
  ASSERT_EQ(view().SelectedColumn, 44);
  ASSERT_EQ(view().SelectedRow, 39);
  form.ZoomIn1->trigger();
  expectOrigin(31, 30);
  EXPECT_EQ(form.HScrollBar->value(), 31);
  EXPECT_EQ(form.VScrollBar->value(), 30);
  expectFullViewWithFrame();
  // Zoom In again after scrolling away centres anew.
  form.HScrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
  expectOrigin(0, 30);
  form.ZoomIn1->trigger();
  expectOrigin(31, 30);
  expectFullViewWithFrame();
  form.ZoomOut1->trigger();
  form.ZoomOut1->trigger();
  expectOrigin(0, 0);
  expectFullViewWithFrame();
}

TEST_F(ViewCommandsTest, OceanRoadsShowAfterAFullRedrawInTheWindow) {
  MapGrid& grid = form.document().grid;
  grid.setTerrain(4, 4, kOcean);
  grid.setRoadMask(4, 4, kRoadSouth);
  form.ZoomIn1->trigger();
  const QPoint onSpoke = test::HexCentre(view(), 4, 4) + QPoint(0, 12);
  EXPECT_EQ(form.picture().pixel(onSpoke), test::kRoadRgb);
  form.TerrainList->setCurrentRow(kOcean);
  QTest::mouseClick(form.MapImage, Qt::LeftButton, Qt::NoModifier, test::HexCentre(view(), 4, 4));
  EXPECT_EQ(grid.roadMask(4, 4), 0);  // painting Ocean cleared them
  grid.setRoadMask(4, 4, kRoadSouth);
  QTest::keyClick(QApplication::focusWidget(), 'x');  // writes the (empty) boxes
  EXPECT_EQ(grid.roadMask(4, 4), 0);
  QTest::keyClick(QApplication::focusWidget(), 'd');
  EXPECT_EQ(grid.roadMask(4, 4), kRoadSouth);
  EXPECT_EQ(form.picture().pixel(onSpoke), test::kOceanRgb);
  form.VScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  form.VScrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(form.picture().pixel(onSpoke), test::kRoadRgb);
}

TEST_F(ViewCommandsTest, RiverJoinsWaterBeyondTheHeaderSize) {
  MapDocument& document = form.document();
  ASSERT_EQ(document.header.columns, 44);
  document.header.columns = 16;
  document.header.rows = 11;
  document.grid.reset();
  document.grid.setTerrain(17, 12, kStream);
  document.grid.setTerrain(18, 13, kOcean);  // south-east of odd column 17
  select(17, 12);
  form.ZoomIn1->trigger();
  expectOrigin(10, 8);
  const QPoint centre = test::HexCentre(view(), 17, 12);
  EXPECT_EQ(form.picture().pixel(centre + QPoint(12, 7)), test::kRiverRgb);
  EXPECT_NE(form.picture().pixel(centre + QPoint(-12, 7)), test::kRiverRgb);
}

}  // namespace
}  // namespace kxc2
