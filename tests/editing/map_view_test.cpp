#include "editing/map_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "editing/hex_caption.h"
#include "tests/editing/view_pictures.h"

namespace kxc2 {
namespace {

using test::AtlasPixel;
using test::FillBusyMap;
using test::FullRedrawImage;

ViewState ZoomedInAt(int originColumn, int originRow) {
  ViewState view;
  view.OriginColumn = originColumn;
  view.OriginRow = originRow;
  return view;
}

ViewState ZoomedOut() {
  ViewState view;
  view.ZoomedIn = false;
  return view;
}

struct HexCase {
  std::string what;
  std::function<HexCoord()> hex;
  HexCoord expected;
};

HexCoord Pixel(const ViewState& view, int x, int y) { return PixelToHex(view, x, y); }

// Pixels to hexes under both zooms, and where Zoom In puts the origin.
const HexCase kHexCases[] = {
    {"in (0,0): (10,10)", [] { return Pixel(ZoomedInAt(0, 0), 10, 10); }, {0, 0}},
    {"in (0,0): (10,30) column 0 raised", [] { return Pixel(ZoomedInAt(0, 0), 10, 30); }, {0, 1}},
    {"in (0,0): (50,30)", [] { return Pixel(ZoomedInAt(0, 0), 50, 30); }, {1, 0}},
    {"in (0,0): (615,474)", [] { return Pixel(ZoomedInAt(0, 0), 615, 474); }, {13, 9}},
    {"in (0,0): (43,24) last pixel of row 0", [] { return Pixel(ZoomedInAt(0, 0), 43, 24); }, {0, 0}},
    {"in (0,0): (44,49) odd column", [] { return Pixel(ZoomedInAt(0, 0), 44, 49); }, {1, 0}},
    {"in (0,0): (44,50) odd column", [] { return Pixel(ZoomedInAt(0, 0), 44, 50); }, {1, 1}},
    {"in (5,3): (0,0) odd column", [] { return Pixel(ZoomedInAt(5, 3), 0, 0); }, {5, 3}},
    {"in (5,3): (44,0) even column", [] { return Pixel(ZoomedInAt(5, 3), 44, 0); }, {6, 3}},
    {"in (31,30): (615,474)", [] { return Pixel(ZoomedInAt(31, 30), 615, 474); }, {44, 39}},
    {"in (0,0): negative pixel", [] { return Pixel(ZoomedInAt(0, 0), -100, -100); }, {0, 0}},
    {"in (0,0): -43 truncates to 0", [] { return Pixel(ZoomedInAt(0, 0), -43, 0); }, {0, 0}},
    {"in (31,30): far beyond", [] { return Pixel(ZoomedInAt(31, 30), 5000, 5000); }, {44, 39}},
    {"out: (600,100) black strip", [] { return Pixel(ZoomedOut(), 600, 100); }, {44, 8}},
    {"out: (0,474)", [] { return Pixel(ZoomedOut(), 0, 474); }, {0, 39}},
    {"out: (12,0) odd column", [] { return Pixel(ZoomedOut(), 12, 0); }, {1, 0}},
    {"out: (11,5) even column", [] { return Pixel(ZoomedOut(), 11, 5); }, {0, 0}},
    {"out: (11,6) even column", [] { return Pixel(ZoomedOut(), 11, 6); }, {0, 1}},
    {"zoom in on (20,15)", [] { return ZoomInOrigin(20, 15); }, {13, 11}},
    {"zoom in on (3,2)", [] { return ZoomInOrigin(3, 2); }, {0, 0}},
    {"zoom in on (44,39)", [] { return ZoomInOrigin(44, 39); }, {31, 30}},
    {"zoom in on (8,5)", [] { return ZoomInOrigin(8, 5); }, {1, 1}},
    {"zoom in on (7,4)", [] { return ZoomInOrigin(7, 4); }, {0, 0}},
    {"zoom in without selection", [] { return ZoomInOrigin(-1, -1); }, {0, 0}},
};

TEST(ViewGeometryTest, PixelsAndZoomOrigins) {
  for (const HexCase& c : kHexCases) {
    const HexCoord hex = c.hex();
    EXPECT_EQ(hex.column, c.expected.column) << c.what;
    EXPECT_EQ(hex.row, c.expected.row) << c.what;
  }
}

TEST(ViewGeometryTest, CellAndFrameRectangles) {
  struct Case {
    ViewState view;
    HexCoord hex;
    Rect cell;
    Rect frame;
  };
  const Case cases[] = {
      {ZoomedInAt(0, 0), {0, 0}, {0, -25, 44, 50}, {0, -25, 45, 51}},
      {ZoomedInAt(0, 0), {1, 0}, {44, 0, 44, 50}, {44, 0, 45, 51}},
      {ZoomedInAt(5, 3), {4, 2}, {-44, -75, 44, 50}, {-44, -75, 45, 51}},
      {ZoomedOut(), {44, 39}, {528, 462, 12, 12}, {528, 462, 13, 13}},
      {ZoomedOut(), {3, 4}, {36, 48, 12, 12}, {36, 48, 13, 13}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CellRect(c.view, c.hex.column, c.hex.row), c.cell);
    EXPECT_EQ(FocusRect(c.view, c.hex.column, c.hex.row), c.frame);
  }
}

// The header's two captions, byte for byte as the editor always wrote them.
TEST(ViewGeometryTest, HexCaptions) {
  EXPECT_EQ(HexCaption(HexCaptionKind::Selected, 3, 2, kCity), "Selected: ( 03, 02 ) City ");
  EXPECT_EQ(HexCaption(HexCaptionKind::Cursor, 44, 39, kClear), "Cursor at: ( 44, 39 ) Clear ");
  EXPECT_EQ(HexCaption(HexCaptionKind::Cursor, 3, 4, 200), "Cursor at: ( 03, 04 ) Unknown (200) ");
}

// A view over pictures of its own, with the built-in atlases.
class MapViewTest : public ::testing::Test {
 protected:
  MapViewTest()
      : picture(kViewWidth, kViewHeight, Image::Format_RGB32),
        tiles(PrepareAtlas(MapTilesPicture())),
        tiles2(PrepareAtlas(MapTiles2Picture())),
        mapView(grid, view, picture, tiles, tiles2) {
    picture.fill(MakeRgb(0xA0, 0xA0, 0xA4));  // the toolkit's gray
  }
  Rgb at(Point p) const { return picture.pixel(p); }
  Point cellPixel(int column, int row, int x, int y) const {
    return CellRect(view, column, row).topLeft() + Point(x, y);
  }

  MapGrid grid;
  ViewState view;
  Image picture;
  Image tiles;
  Image tiles2;
  MapView mapView;
};

TEST_F(MapViewTest, FullRedrawCopiesEveryCellFromTheAtlas) {
  FillBusyMap(grid);
  grid.setTerrain(2, 2, kCity);
  grid.setRoadMask(2, 2, 0);
  grid.setTerrain(3, 2, kSand);
  grid.setRoadMask(3, 2, 0);
  mapView.RedrawView();
  // Away from the centre, where lines may run, the cell is the atlas cell.
  for (const auto& [x, y] : {std::pair{1, 1}, {43, 1}, {1, 49}, {0, 0}, {10, 40}}) {
    EXPECT_EQ(at(cellPixel(2, 2, x, y)), AtlasPixel(true, kCity, x, y));
    EXPECT_EQ(at(cellPixel(3, 2, x, y)), AtlasPixel(true, kSand, x, y));
  }
}

TEST_F(MapViewTest, RiverJoinsWaterBeyondTheHeaderSize) {
  // River (30, 25) with Ocean to its north: both would lie outside a map
  // of 20 x 15, and the view still joins them.
  grid.setTerrain(30, 25, kRiver);
  grid.setTerrain(30, 24, kOcean);
  view.OriginColumn = 25;
  view.OriginRow = 20;
  mapView.RedrawView();
  EXPECT_EQ(at(cellPixel(30, 25, 22, 10)), test::kRiverRgb);
  EXPECT_EQ(at(cellPixel(30, 25, 22, 40)), AtlasPixel(true, kRiver, 22, 40));

  grid.setTerrain(30, 24, kClear);
  mapView.RedrawView();
  EXPECT_EQ(at(cellPixel(30, 25, 22, 10)), AtlasPixel(true, kRiver, 22, 10));
}

TEST_F(MapViewTest, OceanRoadsShowAfterFullRedrawOnly) {
  grid.setTerrain(4, 4, kOcean);
  grid.setRoadMask(4, 4, kRoadNorth);
  const Point onSpoke = cellPixel(4, 4, 22, 10);
  mapView.RedrawView();
  EXPECT_EQ(at(onSpoke), test::kRoadRgb);
  mapView.RedrawHex(4, 4);
  EXPECT_EQ(at(onSpoke), test::kOceanRgb);
  // Any other terrain keeps its spokes in the single-hex redraw.
  grid.setTerrain(4, 4, kClear);
  mapView.RedrawHex(4, 4);
  EXPECT_EQ(at(onSpoke), test::kRoadRgb);
}

TEST_F(MapViewTest, DirectionlessRoadBitsDrawNoSpokeButAMarker) {
  for (const std::uint8_t mask : {std::uint8_t{4}, std::uint8_t{64}}) {
    grid.setTerrain(4, 4, kClear);
    grid.setRoadMask(4, 4, mask);
    view.ZoomedIn = true;
    mapView.RedrawView();
    EXPECT_TRUE(test::SameImage(picture, FullRedrawImage(MapGrid{}, view))) << int(mask);
    view.ZoomedIn = false;
    mapView.RedrawView();
    EXPECT_EQ(at(cellPixel(4, 4, 3, 3)), test::kMarkerRgb) << int(mask);
  }
}

TEST_F(MapViewTest, ZoomedOutMarkerIsTwoByTwoRedAtThreeThree) {
  view.ZoomedIn = false;
  grid.setTerrain(10, 7, kOcean);
  grid.setRoadMask(10, 7, kRoadSouth);
  grid.setTerrain(11, 7, kRiver);
  grid.setTerrain(11, 6, kOcean);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 0) mapView.RedrawView();
    else mapView.RedrawHex(10, 7);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool marker = (x == 3 || x == 4) && (y == 3 || y == 4);
        EXPECT_EQ(at(cellPixel(10, 7, x, y)), marker ? test::kMarkerRgb : AtlasPixel(false, kOcean, x, y))
            << pass << " " << x << "," << y;
      }
  }
  // No river lines at this level: the river hex is its tile alone.
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(at(cellPixel(11, 7, x, y)), AtlasPixel(false, kRiver, x, y));
}

TEST_F(MapViewTest, ZoomedOutStripRightOfTheGridIsBlack) {
  FillBusyMap(grid);
  view.ZoomedIn = false;
  picture.fill(MakeRgb(255, 255, 255));
  mapView.RedrawView();
  for (int y = 0; y < kViewHeight; ++y) {
    for (int x = 540; x < kViewWidth; ++x) ASSERT_EQ(at({x, y}), test::kBlackRgb) << x << "," << y;
    // Column 44's cells end at x 539.
    ASSERT_NE(picture.pixel(539, y), 0xFFFFFFFFu) << y;
  }
}

// The raised columns' cells end at y 473, so the picture's last row lies
// under no cell there: zooming out paints it black rather than leaving a
// line of the zoomed-in picture below those columns.
TEST_F(MapViewTest, ZoomingOutLeavesNoOldPictureUnderTheRaisedColumns) {
  FillBusyMap(grid);
  mapView.RedrawView();
  int oldPixels = 0;
  for (int x = 0; x < 540; ++x)
    if (IsRaised(x / 12) && at({x, 474}) != test::kBlackRgb) ++oldPixels;
  ASSERT_GT(oldPixels, 0) << "the zoomed-in picture must show something there";

  view.ZoomedIn = false;
  mapView.RedrawView();
  for (int x = 0; x < 540; ++x) {
    const int column = x / 12;
    const Rgb expected = IsRaised(column) ? test::kBlackRgb
                                           : AtlasPixel(false, grid.terrain(column, 39), x % 12, 6);
    ASSERT_EQ(at({x, 474}), expected) << x;
  }
}

TEST_F(MapViewTest, UnknownCodesDrawPlainGroundAtBothZooms) {
  grid.setTerrain(1, 1, 200);
  grid.setRoadMask(1, 1, kRoadNorth);
  mapView.RedrawView();
  EXPECT_EQ(at(cellPixel(1, 1, 5, 40)), AtlasPixel(true, 17, 5, 40));
  mapView.RedrawHex(1, 1);
  EXPECT_EQ(at(cellPixel(1, 1, 22, 10)), AtlasPixel(true, 17, 22, 10));
  view.ZoomedIn = false;
  mapView.RedrawView();
  EXPECT_EQ(at(cellPixel(1, 1, 8, 8)), AtlasPixel(false, 17, 8, 8));
  EXPECT_EQ(at(cellPixel(1, 1, 3, 3)), test::kMarkerRgb);
}

TEST_F(MapViewTest, FocusFrameOfHexZeroSpansItsCellPlusOne) {
  mapView.RedrawView();
  const Image before = picture;
  view.SelectedColumn = 0;
  view.SelectedRow = 0;
  mapView.ToggleFocusRect(0, 0);
  // Frame x 0..44, y -25..25: visible rows 0..25, inverted where x + y is even.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool onFrame = ((x == 0 || x == 44) && y <= 25) || (y == 25 && x <= 44);
      const bool inverted = onFrame && (x + y) % 2 == 0;
      const Rgb expected = inverted ? (before.pixel(x, y) ^ 0x00FFFFFFu) : before.pixel(x, y);
      ASSERT_EQ(picture.pixel(x, y), expected) << x << "," << y;
    }
  mapView.ToggleFocusRect(0, 0);
  EXPECT_TRUE(test::SameImage(picture, before));
}

TEST_F(MapViewTest, RedrawHexTogglesTheSelectionFrameAndNegativeDrawsNone) {
  mapView.RedrawView();
  const Image bare = picture;
  mapView.ToggleFocusRect(-1, 3);
  mapView.ToggleFocusRect(3, -1);
  EXPECT_TRUE(test::SameImage(picture, bare));
  view.SelectedColumn = 2;
  view.SelectedRow = 2;
  mapView.RedrawHex(2, 2);
  EXPECT_TRUE(test::SameImage(picture, test::FramedImage(bare, view)));
  EXPECT_FALSE(picture == bare);
}

TEST_F(MapViewTest, SingleHexRedrawCoversNeighboursLineEnds) {
  grid.setTerrain(6, 6, kRiver);
  grid.setTerrain(6, 5, kRiver);
  mapView.RedrawView();
  // Hex (6, 6)'s north line runs into (6, 5), drawn before it; a single-hex
  // redraw of (6, 5) covers that end with the tile.
  const Point end = cellPixel(6, 5, 22, 48);
  EXPECT_EQ(at(end), test::kRiverRgb);
  grid.setTerrain(6, 5, kClear);
  mapView.RedrawHex(6, 5);
  EXPECT_EQ(at(end), AtlasPixel(true, kClear, 22, 48));
}

Rgb Halfway(Rgb p) { return MakeRgb((RedOf(p) + 0x30) / 2, (GreenOf(p) + 0x30) / 2, (BlueOf(p) + 0x30) / 2); }
// 20 x 15 keeps columns 0..19 and rows 0..14; each pixel past them is halfway to grey 0x30 after every redraw.
TEST_F(MapViewTest, MapBoundsShadeEveryPixelOfTheHexesBeyondThem) {
  const std::vector<HexCoord> edge = {{18, 14}, {19, 14}, {20, 14}, {18, 15}, {19, 15}, {20, 13}, {21, 15}};
  for (const bool zoomedIn : {true, false}) {
    view = zoomedIn ? ZoomedInAt(10, 8) : ZoomedOut();
    const Image bare = FullRedrawImage(grid, view);
    mapView.SetMapBounds(20, 15);
    for (int pass = 0; pass < 3; ++pass) {
      pass == 0 ? mapView.RedrawView() : pass == 1 ? mapView.RedrawCells(edge) : mapView.RedrawChanged(edge);
      for (int y = 0; y < (zoomedIn ? kViewHeight : 474); ++y)  // zoomed out, the cells end at 540 x 474
        for (int x = 0; x < (zoomedIn ? kViewWidth : 540); ++x) {
          const HexCoord hex = PixelToHex(view, x, y);
          ASSERT_EQ(at({x, y}), hex.column >= 20 || hex.row >= 15 ? Halfway(bare.pixel(x, y)) : bare.pixel(x, y));
        }
    }
    mapView.SetMapBounds(kGridColumns, kGridRows);
    mapView.RedrawView();
    EXPECT_TRUE(test::SameImage(picture, bare)) << zoomedIn;
  }
}

}  // namespace
}  // namespace kxc2
