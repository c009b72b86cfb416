// The map view at other sizes: one place works out the shown hexes, the
// scroll bars, the centring and the zoomed-out scale from the view's size,
// and the first size gives the figures the window always had.
#include <gtest/gtest.h>

#include "draw/builtin_pictures.h"
#include "editing/map_view.h"
#include "editing/scroll_bars.h"
#include "tests/editing/view_pictures.h"

namespace kxc2 {
namespace {

using test::SizeCase;
using test::kSizes;

ViewState ViewOfSize(Size size, bool zoomedIn = true) {
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
    Size view;
    Point pixel;
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
  const Rgb stale = MakeRgb(1, 2, 3);
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
  const Rect cell = CellRect(view, 3, 5);
  ASSERT_EQ(cell, Rect(72, 120, 24, 24));
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      ASSERT_EQ(picture.pixel(cell.left() + x, cell.top() + y), test::AtlasPixel(false, 6, x / 2, y / 2))
          << x << "," << y;
}

// A view wider than its whole hexes shows part of the next column: drawn
// from its tile, not left black.
TEST(ViewSizeTest, PartlyShownLastColumnIsDrawn) {
  const MapGrid grid;  // all Clear, no lines
  for (const Size size : {Size(616 + 20, 475), Size(1221, 817)}) {
    const ViewState view = ViewOfSize(size);
    const Image picture = test::FullRedrawImage(grid, view);
    for (int x = ShownColumns(view) * 44; x < size.width(); ++x)
      for (int y = 0; y < size.height(); ++y)
        ASSERT_EQ(picture.pixel(x, y), test::AtlasPixel(true, 0, x % 44, (y + (IsRaised(x / 44) ? 25 : 0)) % 50))
            << size.width() << ": " << x << "," << y;
  }
}

// The bars after each change of the view: zoomed out they are disabled and
// stay where the zoomed-in view was, clamped when the view grows.
TEST(ViewSizeTest, ScrollBarsFollowEveryChange) {
  const auto bars = [](int hMax, int hPage, int h, int vMax, int vPage, int v, bool enabled) {
    return ScrollBars{{0, hMax, hPage, h, enabled}, {0, vMax, vPage, v, enabled}};
  };
  const struct {
    const char* name;
    void (*change)(ViewState&);
    ScrollBars expected;
  } cases[] = {
      {"first size", [](ViewState&) {}, bars(31, 13, 0, 30, 9, 0, true)},
      {"scrolled", [](ViewState& v) { ScrollTo(v, 20, 7); }, bars(31, 13, 20, 30, 9, 7, true)},
      {"zoomed out", [](ViewState& v) { ScrollTo(v, 13, 11), ZoomOut(v); }, bars(31, 13, 13, 30, 9, 11, false)},
      {"zoomed out twice", [](ViewState& v) { ScrollTo(v, 13, 11), ZoomOut(v), ZoomOut(v); },
       bars(31, 13, 13, 30, 9, 11, false)},
      {"zoomed out, grown",
       [](ViewState& v) {
         ScrollTo(v, 13, 11), ZoomOut(v);
         v.ViewWidth = 1741, v.ViewHeight = 997, KeepOriginInRange(v);
       },
       bars(6, 38, 6, 20, 19, 11, false)},
      {"zoomed out, opened", [](ViewState& v) { ScrollTo(v, 13, 11), ZoomOut(v), ShowFromCorner(v); },
       bars(31, 13, 0, 30, 9, 0, false)},
      {"zoomed in on (20, 15)", [](ViewState& v) { ZoomOut(v), v.SelectedColumn = 20, v.SelectedRow = 15, ZoomIn(v); },
       bars(31, 13, 13, 30, 9, 11, true)},
      {"grown at the far corner",
       [](ViewState& v) { ScrollTo(v, 31, 30), v.ViewWidth = 1741, v.ViewHeight = 997, KeepOriginInRange(v); },
       bars(6, 38, 6, 20, 19, 20, true)},
  };
  for (const auto& c : cases) {
    ViewState view;
    c.change(view);
    EXPECT_EQ(ScrollBarsOf(view), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace kxc2
