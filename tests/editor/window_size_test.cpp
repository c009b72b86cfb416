// The map view at other window sizes: one place works out the shown hexes,
// the scroll ranges, the centring and the zoomed-out scale from the view's
// size, and the first size gives the figures the window always had.
#include <QHeaderView>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "draw/builtin_pictures.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editor/map_view.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/busy_map.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

struct SizeCase {
  const char* name;
  QSize view;
  int columns, rows, maxOriginColumn, maxOriginRow, scale;
};

const SizeCase kSizes[] = {
    {"first size", {616, 475}, 14, 10, 31, 30, 1},
    {"1400 x 900 window", {1221, 817}, 27, 16, 18, 24, 1},
    {"maximised 1920 x 1080", {1741, 997}, 39, 20, 6, 20, 2},
    {"larger than the grid", {2500, 2000}, 45, 40, 0, 0, 4},
};

ViewState ViewOfSize(QSize size, bool zoomedIn = true) {
  ViewState view;
  view.ZoomedIn = zoomedIn;
  view.ViewWidth = size.width();
  view.ViewHeight = size.height();
  return view;
}

TEST(ViewSizeTest, FiguresFollowTheViewsSize) {
  for (const SizeCase& c : kSizes) {
    SCOPED_TRACE(c.name);
    const ViewState view = ViewOfSize(c.view);
    EXPECT_EQ(ShownColumns(view), c.columns);
    EXPECT_EQ(ShownRows(view), c.rows);
    EXPECT_EQ(MaxOriginColumn(view), c.maxOriginColumn);
    EXPECT_EQ(MaxOriginRow(view), c.maxOriginRow);
    EXPECT_EQ(ZoomedOutScale(view), c.scale);
    // Centring keeps the view on the grid.
    EXPECT_EQ(ZoomInOrigin(44, 39, view), (HexCoord{c.maxOriginColumn, c.maxOriginRow}));
  }
  // The selection in the middle of a maximised view: 39 x 20 hexes.
  EXPECT_EQ(ZoomInOrigin(22, 20, ViewOfSize({1741, 997})), (HexCoord{3, 11}));
  // The first size as it always was: the eighth column and fifth row.
  EXPECT_EQ(ZoomInOrigin(20, 15, ViewOfSize({616, 475})), (HexCoord{13, 11}));
}

TEST(ViewSizeTest, PixelToHexAtTheZoomedOutScale) {
  const struct {
    QSize view;
    QPoint pixel;
    HexCoord hex;
  } cases[] = {
      {{616, 475}, {11, 5}, {0, 0}},     {{616, 475}, {11, 6}, {0, 1}},   {{616, 475}, {12, 11}, {1, 0}},
      {{1741, 997}, {23, 11}, {0, 0}},   {{1741, 997}, {23, 12}, {0, 1}}, {{1741, 997}, {24, 23}, {1, 0}},
      {{1741, 997}, {24, 24}, {1, 1}},   {{1741, 997}, {1079, 959}, {44, 39}},
      {{1741, 997}, {1700, 990}, {44, 39}},  // in the black margin: the nearest hex of the grid
      {{2500, 2000}, {48, 0}, {1, 0}},   {{2500, 2000}, {47, 24}, {0, 1}},
  };
  for (const auto& c : cases) {
    const HexCoord hex = PixelToHex(ViewOfSize(c.view, false), c.pixel.x(), c.pixel.y());
    EXPECT_EQ(hex, c.hex) << c.view.width() << " x " << c.view.height() << " at " << c.pixel.x() << ","
                          << c.pixel.y();
  }
}

// Every pixel of the view is drawn, by a hex or as black margin, at every
// size, zoom and origin: nothing of an older picture survives.
TEST(ViewSizeTest, FullRedrawCoversEveryPixel) {
  MapGrid grid;
  test::FillBusyMap(grid);
  const Image tiles = PrepareAtlas(MapTilesPicture());
  const Image tiles2 = PrepareAtlas(MapTiles2Picture());
  const QRgb stale = qRgb(1, 2, 3);
  for (const SizeCase& c : kSizes) {
    for (const bool zoomedIn : {true, false}) {
      for (const bool atEnd : {false, true}) {
        ViewState view = ViewOfSize(c.view, zoomedIn);
        if (zoomedIn && atEnd) {
          view.OriginColumn = MaxOriginColumn(view);
          view.OriginRow = MaxOriginRow(view);
        }
        Image picture(c.view.width(), c.view.height(), Image::Format_RGB32);
        picture.fill(stale);
        MapView(grid, view, picture, tiles, tiles2).RedrawView();
        int left = 0;
        for (int y = 0; y < picture.height(); ++y)
          for (int x = 0; x < picture.width(); ++x) left += picture.pixel(x, y) == stale;
        EXPECT_EQ(left, 0) << c.name << (zoomedIn ? " zoomed in" : " zoomed out") << (atEnd ? " at the end" : "");
      }
    }
  }
}

// A zoomed-out cell at scale 2 is its 12-pixel atlas cell, each pixel doubled.
TEST(ViewSizeTest, ZoomedOutCellsScaleByWholePixels) {
  MapGrid grid;
  grid.setTerrain(3, 5, 6);
  const Image tiles = PrepareAtlas(MapTilesPicture());
  const Image tiles2 = PrepareAtlas(MapTiles2Picture());
  const ViewState view = ViewOfSize({1741, 997}, false);
  Image picture(1741, 997, Image::Format_RGB32);
  MapView(grid, view, picture, tiles, tiles2).RedrawView();
  const QRect cell = CellRect(view, 3, 5);
  ASSERT_EQ(cell, QRect(72, 120, 24, 24));
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      ASSERT_EQ(picture.pixel(cell.left() + x, cell.top() + y), test::AtlasPixel(false, 6, x / 2, y / 2))
          << x << "," << y;
}

class WindowSizeTest : public ::testing::Test {
 protected:
  WindowSizeTest() : form(test::StartedWindow(dialogs, QString::fromStdString(folder.folder()))) {
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    test::FillBusyMap(form->document().grid);
    form->RedrawView();
    form->ToggleFocusRect(0, 0);
    first = form->size();
  }
  void expectPictureOfAFullRedraw() {
    const ViewState& view = form->viewState();
    EXPECT_TRUE(test::SamePicture(form->picture(), test::WithSelectionFrame(
                                                       test::FramelessFullRedraw(form->document().grid, view), view)));
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  QSize first;
};

TEST_F(WindowSizeTest, TheViewGrowsWithTheWindowAndTheControlsKeepToTheRight) {
  const QPoint listAt = form->TerrainList->pos();
  for (const SizeCase& c : kSizes) {
    SCOPED_TRACE(c.name);
    const QSize extra = c.view - QSize(616, 475);
    form->resize(first + extra);
    EXPECT_EQ(form->MapImage->geometry(), QRect(QPoint(7, 29), c.view));
    EXPECT_EQ(form->picture().size(), c.view);
    EXPECT_EQ(form->HScrollBar->geometry(), QRect(8, 505 + extra.height(), c.view.width(), 16));
    EXPECT_EQ(form->VScrollBar->geometry(), QRect(624 + extra.width(), 31, 16, c.view.height()));
    EXPECT_EQ(form->TerrainList->pos(), listAt + QPoint(extra.width(), 0));
    // The header's sections share its width, as at the first size (201 + 207 + 207 of 616).
    EXPECT_EQ(form->Header1->width(), c.view.width());
    EXPECT_EQ(form->Header1->length(), 615 + extra.width());
    EXPECT_EQ(form->Header1->sectionSize(0), 201 + extra.width() / 3);
    EXPECT_EQ(form->HScrollBar->maximum(), c.maxOriginColumn);
    EXPECT_EQ(form->VScrollBar->maximum(), c.maxOriginRow);
    EXPECT_EQ(form->HScrollBar->pageStep(), c.columns - 1);
    EXPECT_EQ(form->VScrollBar->pageStep(), c.rows - 1);
    expectPictureOfAFullRedraw();
  }
  EXPECT_EQ(form->minimumSize(), first);
}

TEST_F(WindowSizeTest, AnOriginPastTheNewRangeMovesBackWithTheBars) {
  form->HScrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
  form->VScrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
  ASSERT_EQ(form->viewState().OriginColumn, 31);
  ASSERT_EQ(form->viewState().OriginRow, 30);
  form->resize(first + QSize(1125, 522));
  EXPECT_EQ(form->viewState().OriginColumn, 6);
  EXPECT_EQ(form->viewState().OriginRow, 20);
  EXPECT_EQ(form->HScrollBar->value(), 6);
  EXPECT_EQ(form->VScrollBar->value(), 20);
  expectPictureOfAFullRedraw();
  // Back at the first size, the origin stays where it was put.
  form->resize(first);
  EXPECT_EQ(form->picture().size(), QSize(616, 475));
  EXPECT_EQ(form->viewState().OriginColumn, 6);
  expectPictureOfAFullRedraw();
}

// The bar's own context menu: "Scroll here" sets the value without an action.
TEST_F(WindowSizeTest, ScrollHereMovesTheView) {
  QScrollBar* bar = form->HScrollBar;
  QTimer::singleShot(0, [] {
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
  });
  const QPoint at(bar->width() * 3 / 4, bar->height() / 2);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
  QApplication::sendEvent(bar, &event);
  EXPECT_GT(bar->value(), 0);
  EXPECT_EQ(form->viewState().OriginColumn, bar->value());
  expectPictureOfAFullRedraw();
}

}  // namespace
}  // namespace kxc2
