#include "draw/overlays.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/terrain.h"

namespace kxc2 {
namespace {

constexpr Rgb kViewRiver = ColorFromBgr(0x00FFC800);
constexpr Rgb kViewRoad = ColorFromBgr(0x0000C8FF);
constexpr Rgb kBackground = MakeRgb(1, 2, 3);
constexpr Point kCorner(30, 40);  // the cell's corner on the test surface

// One pixel per side that only that side's line reaches: four fifths of the
// way from the centre to the side's end point.
struct Probe {
  const char* side;
  Point at;
};
constexpr Probe kProbes[] = {{"N", {22, 4}},   {"NE", {40, 15}}, {"SE", {40, 35}},
                             {"S", {22, 45}},  {"SW", {4, 35}},  {"NW", {4, 15}}};

Image Surface() {
  Image image(110, 130, Image::Format_RGB32);
  image.fill(kBackground);
  return image;
}

std::set<std::string> SidesDrawn(const Image& image, Point corner = kCorner) {
  std::set<std::string> sides;
  for (const Probe& p : kProbes)
    if (image.pixel(corner + p.at) != kBackground) sides.insert(p.side);
  return sides;
}

std::set<std::string> RiverSides(const MapGrid& grid, int column, int row, int raised) {
  Image image = Surface();
  Canvas canvas(image);
  DrawRiverLines(kCorner.x(), kCorner.y(), column, row, raised, canvas, kViewRiver, grid);
  return SidesDrawn(image);
}

MapGrid AllTerrain(int code) {
  MapGrid grid;
  for (int c = 0; c < kGridColumns; ++c)
    for (int r = 0; r < kGridRows; ++r) grid.setTerrain(c, r, static_cast<std::uint8_t>(code));
  return grid;
}

using Sides = std::set<std::string>;
const Sides kAll = {"N", "NE", "SE", "S", "SW", "NW"};

struct EdgeCase {
  int column, row, raised;
  Sides expected;
};
// Without it gtest prints the raw bytes, padding and all, which valgrind
// rightly calls uninitialised.
void PrintTo(const EdgeCase& c, std::ostream* out) { *out << c.column << "," << c.row << " raised " << c.raised; }

class RiverAtEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(RiverAtEdges, DrawsOnlyTowardsNeighboursInsideTheGrid) {
  const EdgeCase& c = GetParam();
  EXPECT_EQ(RiverSides(AllTerrain(kOcean), c.column, c.row, c.raised), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, RiverAtEdges,
    ::testing::Values(EdgeCase{0, 5, 25, {"N", "S", "NE", "SE"}},
                      EdgeCase{1, 5, 0, kAll},
                      EdgeCase{44, 5, 25, {"N", "S", "NW", "SW"}},
                      EdgeCase{43, 5, 0, kAll},
                      // Row 0: an even column loses its northern three, an odd one only north.
                      EdgeCase{2, 0, 25, {"S", "SW", "SE"}},
                      EdgeCase{3, 0, 0, {"S", "SW", "SE", "NW", "NE"}},
                      // Row 39: an odd column loses its southern three, an even one only south.
                      EdgeCase{3, 39, 0, {"N", "NW", "NE"}},
                      EdgeCase{2, 39, 25, {"N", "NW", "NE", "SW", "SE"}},
                      EdgeCase{0, 0, 25, {"S", "SE"}},
                      EdgeCase{44, 39, 25, {"N", "NW", "SW"}},
                      EdgeCase{0, 39, -25, {"N", "NE", "SE"}},
                      EdgeCase{44, 0, -25, {"S", "SW"}}));

struct NeighbourCase {
  int column, row, raised;
  int waterColumn, waterRow;
  Sides expected;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const NeighbourCase& c, std::ostream* out) { *out << c.column << "," << c.row << " water " << c.waterColumn << "," << c.waterRow; }

class RiverNeighbour : public ::testing::TestWithParam<NeighbourCase> {};

TEST_P(RiverNeighbour, JoinsExactlyTheHexOnThatSide) {
  const NeighbourCase& c = GetParam();
  MapGrid grid;
  grid.setTerrain(c.column, c.row, kRiver);
  grid.setTerrain(c.waterColumn, c.waterRow, kStream);
  EXPECT_EQ(RiverSides(grid, c.column, c.row, c.raised), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hexes, RiverNeighbour,
    ::testing::Values(
        // (2, 5), raised: its western neighbours are (1, 4) and (1, 5).
        NeighbourCase{2, 5, 25, 1, 4, {"NW"}}, NeighbourCase{2, 5, 25, 1, 5, {"SW"}},
        NeighbourCase{2, 5, 25, 1, 6, {}}, NeighbourCase{2, 5, 25, 3, 4, {"NE"}},
        NeighbourCase{2, 5, 25, 3, 5, {"SE"}}, NeighbourCase{2, 5, 25, 3, 6, {}},
        NeighbourCase{2, 5, 25, 2, 4, {"N"}}, NeighbourCase{2, 5, 25, 2, 6, {"S"}},
        // The painter passes -25 for the same column: only zero against non-zero counts.
        NeighbourCase{2, 5, -25, 1, 4, {"NW"}}, NeighbourCase{2, 5, -25, 3, 5, {"SE"}},
        // (3, 5), level: its western neighbours are (2, 5) and (2, 6).
        NeighbourCase{3, 5, 0, 2, 5, {"NW"}}, NeighbourCase{3, 5, 0, 2, 6, {"SW"}},
        NeighbourCase{3, 5, 0, 2, 4, {}}, NeighbourCase{3, 5, 0, 4, 5, {"NE"}},
        NeighbourCase{3, 5, 0, 4, 6, {"SE"}}, NeighbourCase{3, 5, 0, 4, 4, {}},
        // Beyond a 44 x 39 header, still inside the grid.
        NeighbourCase{43, 38, 0, 44, 39, {"SE"}}, NeighbourCase{43, 38, 0, 43, 39, {"S"}},
        // A far-away hex of water is no neighbour.
        NeighbourCase{10, 10, 25, 20, 20, {}}));

class RiverWaterSet : public ::testing::TestWithParam<int> {};

TEST_P(RiverWaterSet, JoinsOnlyOceanRiverStreamAndImpassableRiver) {
  const int code = GetParam();
  const bool water = code == 9 || code == 10 || code == 13 || code == 15;
  EXPECT_EQ(RiverSides(AllTerrain(code), 20, 20, 25), water ? kAll : Sides{});
}

INSTANTIATE_TEST_SUITE_P(Codes, RiverWaterSet, ::testing::Values(0, 1, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 41, 255));

struct MaskCase {
  int mask;
  Sides expected;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const MaskCase& c, std::ostream* out) { *out << "mask " << c.mask; }

class RoadMasks : public ::testing::TestWithParam<MaskCase> {};

TEST_P(RoadMasks, DrawOneSpokePerDirectionBit) {
  Image image = Surface();
  Canvas canvas(image);
  DrawRoadSpokes(kCorner.x(), kCorner.y(), static_cast<std::uint8_t>(GetParam().mask), canvas, kViewRoad);
  EXPECT_EQ(SidesDrawn(image), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Masks, RoadMasks,
                         ::testing::Values(MaskCase{0, {}}, MaskCase{4, {}}, MaskCase{64, {}}, MaskCase{68, {}},
                                           MaskCase{255, kAll}, MaskCase{1, {"N"}}, MaskCase{2, {"NE"}},
                                           MaskCase{8, {"SE"}}, MaskCase{16, {"S"}}, MaskCase{32, {"SW"}},
                                           MaskCase{128, {"NW"}}, MaskCase{1 | 4 | 128, {"N", "NW"}},
                                           MaskCase{255 & ~4 & ~64, kAll}));

// The exact picture: each line from the centre to its end point at its width.
Image Expected(const std::vector<std::pair<Point, int>>& lines, Rgb colour) {
  Image image = Surface();
  Canvas canvas(image);
  for (const auto& [end, width] : lines) {
    canvas.setPen({colour, width, PenMode::Copy});
    canvas.moveTo(kCorner + Point(22, 25));
    canvas.lineTo(kCorner + end);
  }
  return image;
}

TEST(Overlays, RoadSpokesHaveTheirEndPointsAndWidths) {
  Image image = Surface();
  Canvas canvas(image);
  DrawRoadSpokes(kCorner.x(), kCorner.y(), 255, canvas, kViewRoad);
  EXPECT_EQ(image, Expected({{{22, -1}, 4}, {{45, 12}, 3}, {{45, 38}, 3}, {{22, 50}, 4}, {{-1, 38}, 3}, {{-1, 12}, 3}},
                            kViewRoad));
}

TEST(Overlays, RiverLinesHaveTheirEndPointsAndWidths) {
  Image image = Surface();
  Canvas canvas(image);
  DrawRiverLines(kCorner.x(), kCorner.y(), 7, 7, 0, canvas, kViewRiver, AllTerrain(kImpassableRiver));
  EXPECT_EQ(image, Expected({{{-1, 12}, 5}, {{-1, 38}, 5}, {{22, -1}, 6}, {{22, 50}, 6}, {{45, 12}, 5}, {{45, 38}, 5}},
                            kViewRiver));
}

TEST(Overlays, UprightSpokesAreFourAndRiversSixPixelsWide) {
  Image roads = Surface(), rivers = Surface();
  Canvas roadCanvas(roads), riverCanvas(rivers);
  DrawRoadSpokes(kCorner.x(), kCorner.y(), 1, roadCanvas, kViewRoad);
  MapGrid grid;
  grid.setTerrain(5, 4, kOcean);
  DrawRiverLines(kCorner.x(), kCorner.y(), 5, 5, 0, riverCanvas, kViewRiver, grid);
  auto widthAt = [](const Image& image, int y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != kBackground;
    return n;
  };
  EXPECT_EQ(widthAt(roads, kCorner.y() + 10), 4);
  EXPECT_EQ(widthAt(rivers, kCorner.y() + 10), 6);
  // Lines reach one pixel past the cell's top edge (the end point is y - 1).
  EXPECT_NE(roads.pixel(kCorner + Point(22, -1)), kBackground);
}

struct PenCase {
  int mask;
  int water;  // terrain of every neighbour
};

class PenGivenBack : public ::testing::TestWithParam<PenCase> {};

TEST_P(PenGivenBack, ColourWidthAndModeAsOnEntry) {
  Image image = Surface();
  Canvas canvas(image);
  const Pen entry{MakeRgb(7, 8, 9), 11, PenMode::Copy};
  canvas.setPen(entry);
  DrawRoadSpokes(kCorner.x(), kCorner.y(), static_cast<std::uint8_t>(GetParam().mask), canvas, kViewRoad);
  EXPECT_EQ(canvas.pen(), entry);
  DrawRiverLines(kCorner.x(), kCorner.y(), 4, 4, 25, canvas, kViewRiver, AllTerrain(GetParam().water));
  EXPECT_EQ(canvas.pen(), entry);
  DrawRiverLines(-500, -500, 4, 4, 25, canvas, kViewRiver, AllTerrain(GetParam().water));
  EXPECT_EQ(canvas.pen(), entry);
}

INSTANTIATE_TEST_SUITE_P(Calls, PenGivenBack,
                         ::testing::Values(PenCase{0, kClear}, PenCase{68, kCity}, PenCase{255, kOcean},
                                           PenCase{1, kRiver}));

TEST(Overlays, EachCallerGetsItsOwnColour) {
  const MapGrid grid = AllTerrain(kRiver);
  for (Rgb colour : {kViewRiver, ColorFromBgr(0x00A4907C)}) {
    Image image = Surface();
    Canvas canvas(image);
    DrawRiverLines(kCorner.x(), kCorner.y(), 6, 6, 25, canvas, colour, grid);
    EXPECT_EQ(image.pixel(kCorner + Point(22, 25)), colour);
  }
  for (Rgb colour : {kViewRoad, ColorFromBgr(0x0064E0F8)}) {
    Image image = Surface();
    Canvas canvas(image);
    DrawRoadSpokes(kCorner.x(), kCorner.y(), 16, canvas, colour);
    EXPECT_EQ(image.pixel(kCorner + Point(22, 40)), colour);
  }
}

TEST(Overlays, IndexedSurfaceTakesTheNearestEntryAndTheSamePixels) {
  std::vector<Rgb> palette(256, MakeRgb(0, 0, 0));
  for (int i = 0; i < 256; ++i) palette[i] = MakeRgb(i, i, i);
  palette[200] = ColorFromBgr(0x00A4907C);
  palette[111] = ColorFromBgr(0x0064E0F8);
  Image indexed(110, 130, Image::Format_Indexed8);
  indexed.setColorTable(palette);
  indexed.fill(0);
  Image rgb = Surface();
  const MapGrid grid = AllTerrain(kStream);
  Canvas a(indexed), b(rgb);
  DrawRiverLines(kCorner.x(), kCorner.y(), 9, 9, 0, a, ColorFromBgr(0x00A4907C), grid);
  DrawRoadSpokes(kCorner.x(), kCorner.y(), 0x81, a, ColorFromBgr(0x0064E0F8));
  DrawRiverLines(kCorner.x(), kCorner.y(), 9, 9, 0, b, ColorFromBgr(0x00A4907C), grid);
  DrawRoadSpokes(kCorner.x(), kCorner.y(), 0x81, b, ColorFromBgr(0x0064E0F8));
  for (int y = 0; y < 130; ++y)
    for (int x = 0; x < 110; ++x) {
      const int index = indexed.pixelIndex(x, y);
      if (rgb.pixel(x, y) == kBackground)
        EXPECT_EQ(index, 0) << x << "," << y;
      else
        EXPECT_EQ(palette[index], rgb.pixel(x, y)) << x << "," << y;
    }
  EXPECT_EQ(indexed.pixelIndex(kCorner + Point(22, 4)), 111);   // the road is drawn last
  EXPECT_EQ(indexed.pixelIndex(kCorner + Point(40, 35)), 200);
}

class ClippedCell : public ::testing::TestWithParam<Point> {};

TEST_P(ClippedCell, ShowsTheVisiblePartOfTheSameLines) {
  // Draw on a large surface, then compare the window a small surface would see.
  const Point corner = GetParam();
  const Point offset(100, 100);
  Image big(44 + 200, 50 + 200, Image::Format_RGB32);
  big.fill(kBackground);
  Image small(44, 50, Image::Format_RGB32);
  small.fill(kBackground);
  const MapGrid grid = AllTerrain(kRiver);
  Canvas bigCanvas(big), smallCanvas(small);
  for (Canvas* canvas : {&bigCanvas, &smallCanvas}) {
    const Point at = corner + (canvas == &bigCanvas ? offset : Point());
    DrawRiverLines(at.x(), at.y(), 11, 11, 25, *canvas, kViewRiver, grid);
    DrawRoadSpokes(at.x(), at.y(), 255, *canvas, kViewRoad);
  }
  EXPECT_EQ(small, big.copy(Rect(offset, Size(44, 50))));
}

INSTANTIATE_TEST_SUITE_P(Corners, ClippedCell,
                         ::testing::Values(Point(0, -25), Point(-30, -40), Point(20, 30), Point(-44, 0),
                                           Point(43, 49), Point(-90, -90), Point(90, 90)));

TEST(Overlays, CellsFarOutsideDrawNothingAndDoNotFail) {
  Image image = Surface();
  const Image before = image.copy();
  Canvas canvas(image);
  DrawRoadSpokes(100000, -100000, 255, canvas, kViewRoad);
  DrawRiverLines(-2000000000, 5, 22, 22, 0, canvas, kViewRiver, AllTerrain(kOcean));
  EXPECT_EQ(image, before);
}

}  // namespace
}  // namespace kxc2
