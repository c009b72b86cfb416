// Repainting the parts of the map picture that a change touches.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/terrain.h"
#include "export/map_picture.h"
#include "export/tile_set.h"
#include "tests/export/painter/painter_fixtures.h"

namespace kxc2 {
namespace {

struct Write {
  int column, row, terrain, mask;
};
using Edit = std::vector<Write>;  // one grid change, repainted at once

struct RepaintCase {
  const char* name;
  std::vector<Edit> edits;
  bool undoAll = false;  // then every hex back as it was, as one change
  friend void PrintTo(const RepaintCase& c, std::ostream* out) { *out << c.name; }
};

// A river band down column 10 and 11 and a road band along row 7.
MapGrid StartGrid() {
  MapGrid grid = test::TilesOnlyGrid();
  for (int row = 0; row < kGridRows; ++row) grid.setTerrain(10 + row % 2, row, kRiver);
  for (int column = 0; column < kGridColumns; ++column) grid.setRoadMask(column, 7, 0xFF);
  return grid;
}

Edit Scattered() {
  Edit edit;
  for (int i = 0; i < 60; ++i) edit.push_back({(i * 7) % kGridColumns, (i * 11) % kGridRows, i % 17, i * 37 % 256});
  return edit;
}

const RepaintCase kCases[] = {
    {"RiverBesideRiverEvenColumn", {{{12, 4, kRiver, 0}}, {{12, 5, kStream, 0}}}},
    {"RiverBesideRiverOddColumn", {{{9, 4, kImpassableRiver, 0}}, {{9, 6, kOcean, 0}}}},
    {"RiverTakenOutOfTheBand", {{{10, 6, kClear, 0}}, {{11, 7, kCity, 0xFF}}}},
    {"Roads", {{{20, 20, kClear, 0xFF}}, {{21, 20, kForest, 0x44}}, {{20, 20, kClear, 0x09}}}},
    {"OceanClearsRoads", {{{15, 7, kOcean, 0}}, {{16, 7, kOcean, 0xFF}}}},
    {"GridCornersAndBottomRows",
     {{{0, 0, kRiver, 0xFF}}, {{44, 39, kRiver, 0xFF}}, {{0, 39, kOcean, 0}, {0, 38, kRiver, 0xFF}},
      {{14, 11, kRiver, 0x11}, {14, 10, kOcean, 0}}, {{44, 0, kStream, 0xFF}}}},
    {"PieceBorders", {{{14, 9, kRiver, 0xFF}, {15, 9, kRiver, 0xFF}, {29, 19, kRiver, 0}, {28, 38, kRiver, 1}}}},
    {"StrokeThenUndo", {{{3, 3, kRiver, 0}, {4, 3, kRiver, 0}, {5, 4, kRiver, 0}}, {{10, 8, kHill, 0}}}, true},
    {"FillOfManyHexes", {Scattered()}, true},
};

class RepaintTest : public ::testing::TestWithParam<std::tuple<RepaintCase, Size>> {};

TEST_P(RepaintTest, EachChangeLeavesAFreshPaint) {
  const auto& [c, size] = GetParam();
  MapGrid grid = StartGrid();
  const MapGrid start = grid;
  const TileSet tiles(test::PatternedTiles(3));
  std::mt19937 random(9);
  const VariantGrid variants = DrawVariants(random, 3);
  Image picture = PaintMapPicture(grid, size.width(), size.height(), tiles, variants);
  std::vector<HexCoord> all;
  for (const Edit& edit : c.edits) {
    std::vector<HexCoord> changed;
    for (const Write& write : edit) {
      grid.setTerrain(write.column, write.row, std::uint8_t(write.terrain));
      grid.setRoadMask(write.column, write.row, std::uint8_t(write.mask));
      changed.push_back({write.column, write.row});
    }
    all.insert(all.end(), changed.begin(), changed.end());
    RepaintChangedHexes(picture, grid, tiles, variants, changed);
    ASSERT_EQ(picture, PaintMapPicture(grid, size.width(), size.height(), tiles, variants))
        << "after change " << &edit - c.edits.data();
  }
  if (!c.undoAll) return;
  grid = start;
  RepaintChangedHexes(picture, grid, tiles, variants, all);
  EXPECT_EQ(picture, PaintMapPicture(grid, size.width(), size.height(), tiles, variants));
}

INSTANTIATE_TEST_SUITE_P(Edits, RepaintTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Size(44, 39), Size(16, 11), Size(31, 20))),
                         [](const auto& info) {
                           const Size size = std::get<1>(info.param);
                           return std::string(std::get<0>(info.param).name) + "_" + std::to_string(size.width()) +
                                  "x" + std::to_string(size.height());
                         });

// Inside the rectangle the new grid's picture, outside it the old one.
TEST(RepaintPictureRectTest, OnlyTheRectangleTakesTheNewGrid) {
  const MapGrid before = StartGrid();
  MapGrid after;
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row) {
      after.setTerrain(column, row, kRiver);
      after.setRoadMask(column, row, 0xFF);
    }
  const TileSet tiles(test::PatternedTiles(1));
  const Image old = PaintMapPicture(before, 44, 39, tiles, {});
  const Image fresh = PaintMapPicture(after, 44, 39, tiles, {});
  // Tile tops of odd columns lie at multiples of 50; a north line reaches
  // 4 pixels above its tile.
  for (const Rect rect : {Rect(0, 0, 1, 1), Rect(300, 550, 200, 47), Rect(300, 596, 200, 1),
                           Rect(1850, 1900, 500, 500), Rect(-10, -10, 3000, 3000)}) {
    Image picture = old;
    RepaintPictureRect(picture, after, tiles, {}, rect);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        ASSERT_EQ(picture.pixelIndex(x, y), (rect.contains(x, y) ? fresh : old).pixelIndex(x, y))
            << "(" << x << ", " << y << ") repainting " << rect.x() << ", " << rect.y();
  }
}

TEST(HexAtPicturePixelTest, TheHexWhoseTileCoversThePixel) {
  for (int y = 0; y < 1925; y += 7)
    for (int x = 0; x < 1906; x += 5) {
      const test::CoveringTile tile = test::TileAt(x, y);
      ASSERT_EQ(HexAtPicturePixel(x, y), (HexCoord{tile.column, tile.row})) << x << ", " << y;
      ASSERT_TRUE(TileRectInPicture(tile.column, tile.row).contains(x, y));
    }
  EXPECT_EQ(HexAtPicturePixel(-1, -1), (HexCoord{0, 0}));     // column 0's tile starts 37 pixels left
  EXPECT_EQ(HexAtPicturePixel(-38, 30), (HexCoord{0, 1}));    // clamped, then column 0's raise
  EXPECT_EQ(HexAtPicturePixel(5000, 9999), (HexCoord{44, 39}));
  EXPECT_EQ(TileRectInPicture(1, 0), Rect(8, 0, 45, 50));
  EXPECT_EQ(TileRectInPicture(44, 39), Rect(1943, 1925, 45, 50));
}

}  // namespace
}  // namespace kxc2
