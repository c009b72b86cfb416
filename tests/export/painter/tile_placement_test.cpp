// Pixel-exact placement of tiles and lines on the pieces.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"
#include "tests/export/painter/painter_fixtures.h"

namespace kxc2 {
namespace {

// Every pixel of every piece against the picture's own geometry.
void ExpectPiecesShowTiles(const MapGrid& grid, int columns, int rows, const TileSet& tiles,
                           const VariantGrid& variants) {
  const PictureSize size = MapPictureSize(columns, rows);
  int wrong = 0;
  for (int i = 0; i < PieceColumnCount(size); ++i) {
    for (int j = 0; j < PieceRowCount(size); ++j) {
      const Image piece = PaintPiece(grid, tiles, variants, size, i, j);
      ASSERT_EQ(piece.format(), Image::Format_Indexed8);
      for (int y = 0; y < piece.height(); ++y) {
        for (int x = 0; x < piece.width(); ++x) {
          const test::CoveringTile tile = test::TileAt(640 * i + x, 480 * j + y);
          const int terrain = grid.terrain(tile.column, tile.row);
          const int expected = test::PatternIndex(terrain, variants[tile.column][tile.row], tile.dx, tile.dy);
          if (piece.pixelIndex(x, y) != expected && ++wrong <= 5)
            ADD_FAILURE() << "piece " << i << j << " pixel (" << x << ", " << y << ") shows "
                          << piece.pixelIndex(x, y) << ", expected " << expected << " from hex (" << tile.column
                          << ", " << tile.row << ")";
        }
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

struct SizeCase {
  int columns;
  int rows;
};

class TilePlacementTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TilePlacementTest, EveryPixelComesFromItsHexTile) {
  const TileSet tiles(test::PatternedTiles(1));
  ExpectPiecesShowTiles(test::TilesOnlyGrid(), GetParam().columns, GetParam().rows, tiles, VariantGrid{});
}

INSTANTIATE_TEST_SUITE_P(MapSizes, TilePlacementTest,
                         ::testing::Values(SizeCase{16, 11}, SizeCase{30, 20}, SizeCase{31, 29}, SizeCase{44, 39}),
                         [](const auto& info) {
                           return std::to_string(info.param.columns) + "x" + std::to_string(info.param.rows);
                         });

// Corners of single tiles at the pieces' edges, for an even and an odd
// column, against hand-worked positions.
struct CornerCase {
  int pieceColumn, pieceRow, x, y;  // pixel in the piece
  int column, row, dx, dy;          // hex and position in its tile
};

class TileCornerTest : public ::testing::TestWithParam<CornerCase> {};

TEST_P(TileCornerTest, PixelShowsTheHandWorkedTilePixel) {
  const CornerCase& c = GetParam();
  const MapGrid grid = test::TilesOnlyGrid();
  const TileSet tiles(test::PatternedTiles(1));
  const Image piece = PaintPiece(grid, tiles, VariantGrid{}, MapPictureSize(44, 39), c.pieceColumn, c.pieceRow);
  EXPECT_EQ(piece.pixelIndex(c.x, c.y), test::PatternIndex(grid.terrain(c.column, c.row), 0, c.dx, c.dy));
}

INSTANTIATE_TEST_SUITE_P(
    PieceEdges, TileCornerTest,
    ::testing::Values(
        CornerCase{0, 0, 0, 0, 0, 0, 37, 25},      // column 0 shows its right 8 pixels, lower half
        CornerCase{0, 0, 7, 24, 0, 0, 44, 49},
        CornerCase{0, 0, 8, 0, 1, 0, 0, 0},        // odd column 1 starts at the top
        CornerCase{0, 0, 53, 0, 2, 0, 0, 25},      // even column 2, raised
        CornerCase{0, 0, 639, 479, 15, 9, 1, 29},   // bottom-right corner of piece 00
        CornerCase{1, 0, 0, 0, 15, 0, 2, 0},       // odd column 15 at x -2 in piece 10
        CornerCase{1, 0, 43, 0, 16, 0, 0, 25},     // even column 16
        CornerCase{1, 1, 0, 0, 15, 9, 2, 30},      // piece row 1: odd row 9 at y -30
        CornerCase{1, 1, 43, 0, 16, 10, 0, 5},     // even column, row 10 at y -5
        CornerCase{2, 3, 625, 479, 43, 38, 7, 19},  // last pixel of piece 23
        CornerCase{2, 4, 0, 0, 29, 38, 12, 20},    // fifth piece row: row 38 at y -20
        CornerCase{2, 4, 33, 4, 30, 38, 0, 49},    // even column 30: row 38 at y -45
        CornerCase{2, 4, 625, 4, 43, 38, 7, 24}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(VariantTest, TallTileSetGivesAllThreeVariantsSeeded) {
  std::mt19937 random(20240601);
  const VariantGrid variants = DrawVariants(random, 3);
  std::set<int> seen;
  for (const auto& column : variants)
    for (int v : column) {
      EXPECT_GE(v, 0);
      EXPECT_LE(v, 2);
      seen.insert(v);
    }
  EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));

  // The same seed paints the same picture, and the pieces show the drawn variants.
  std::mt19937 again(20240601);
  EXPECT_EQ(DrawVariants(again, 3), variants);
  ExpectPiecesShowTiles(test::TilesOnlyGrid(), 16, 11, TileSet(test::PatternedTiles(3)), variants);
}

TEST(VariantTest, DrawsRunInColumnOrder) {
  std::mt19937 random(7);
  const VariantGrid variants = DrawVariants(random, 5);
  std::mt19937 reference(7);
  std::uniform_int_distribution<int> draw(0, 4);
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row) ASSERT_EQ(variants[column][row], draw(reference)) << column << "," << row;
}

TEST(VariantTest, OneOrNoVariantGivesZeroEverywhere) {
  for (int count : {0, 1}) {
    std::mt19937 random(99);
    EXPECT_EQ(DrawVariants(random, count), VariantGrid{}) << count;
  }
}

TEST(VariantTest, TileSetHeightSetsTheVariantCount) {
  EXPECT_EQ(TileSet(test::PatternedTiles(3)).variantCount(), 3);
  EXPECT_EQ(TileSet(test::PatternedTiles(1)).variantCount(), 1);
  Image low(765, 49, Image::Format_Indexed8);
  low.setColorCount(2);
  EXPECT_EQ(TileSet(low).variantCount(), 0);
}

// Tiles that the tile set cannot give.
struct FallbackCase {
  int width, height, terrain, variant;
  std::optional<Rect> expected;
};

class TileFallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(TileFallbackTest, NeverReadsOutsideTheTileSet) {
  const FallbackCase& c = GetParam();
  Image image(c.width, c.height, Image::Format_Indexed8);
  image.setColorCount(256);
  EXPECT_EQ(TileSet(image).tileRect(c.terrain, c.variant), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TileFallbackTest,
    ::testing::Values(FallbackCase{765, 100, 16, 1, Rect(720, 50, 45, 50)},
                      FallbackCase{765, 50, 17, 0, Rect(0, 0, 45, 50)},     // unknown terrain: Clear
                      FallbackCase{765, 100, 200, 1, Rect(0, 0, 45, 50)},   // unknown terrain: Clear's variant 0
                      FallbackCase{100, 50, 1, 0, Rect(45, 0, 45, 50)},     // narrow set: what fits is used
                      FallbackCase{100, 50, 2, 0, Rect(0, 0, 45, 50)},      // ends at 135 > 100
                      FallbackCase{764, 50, 16, 0, Rect(0, 0, 45, 50)},
                      FallbackCase{44, 50, 0, 0, std::nullopt},              // not even one tile
                      FallbackCase{765, 49, 3, 0, std::nullopt}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(TileFallbackTest, MissingTilesLeaveTheBackgroundAndUnknownTerrainShowsClear) {
  MapGrid grid = test::TilesOnlyGrid();
  grid.setTerrain(1, 0, 200);  // odd column 1, row 0: piece 00 at (8, 0)
  const TileSet tiles(test::PatternedTiles(1));
  const Image piece = PaintPiece(grid, tiles, VariantGrid{}, MapPictureSize(16, 11), 0, 0);
  EXPECT_EQ(piece.pixelIndex(8, 0), test::PatternIndex(kClear, 0, 0, 0));
  EXPECT_EQ(piece.pixelIndex(52, 49), test::PatternIndex(kClear, 0, 44, 49));

  Image tiny(30, 30, Image::Format_Indexed8);
  tiny.setColorCount(256);
  tiny.fill(9);
  const Image bare = PaintPiece(grid, TileSet(tiny), VariantGrid{}, MapPictureSize(16, 11), 0, 0);
  for (int y = 0; y < bare.height(); y += 7)
    for (int x = 0; x < bare.width(); x += 7) ASSERT_EQ(bare.pixelIndex(x, y), 0) << x << "," << y;
}

// Lines: river hexes join their water neighbours, roads show on the
// terrains that carry painted roads, each in its nearest palette entry.
class LineTest : public ::testing::Test {
 protected:
  // Hex (3, 4): odd column, tile at MapPicture (98, 200), centre (120, 225).
  static constexpr int kColumn = 3, kRow = 4;
  static constexpr int kCentreX = 45 * kColumn - 37 + 22, kCentreY = 50 * kRow + 25;

  Image Paint(const MapGrid& grid) {
    return PaintPiece(grid, TileSet(test::PatternedTiles(1)), VariantGrid{}, MapPictureSize(16, 11), 0, 0);
  }
  MapGrid grid_ = test::TilesOnlyGrid();
};

TEST_F(LineTest, RiverLineTowardsWaterInTheRiverColourEntry) {
  grid_.setTerrain(kColumn, kRow, kRiver);
  grid_.setTerrain(kColumn, kRow - 1, kOcean);
  grid_.setTerrain(kColumn, kRow + 1, kClear);
  const Image piece = Paint(grid_);
  for (int y = kCentreY - 20; y <= kCentreY - 2; ++y)
    EXPECT_EQ(piece.pixelIndex(kCentreX, y), test::kPatternRiverIndex) << y;
  EXPECT_NE(piece.pixelIndex(kCentreX, kCentreY + 15), test::kPatternRiverIndex);  // no water to the south
}

TEST_F(LineTest, OceanHexDrawsNoRiverLines) {
  grid_.setTerrain(kColumn, kRow, kOcean);
  grid_.setTerrain(kColumn, kRow - 1, kOcean);
  const Image piece = Paint(grid_);
  EXPECT_NE(piece.pixelIndex(kCentreX, kCentreY - 10), test::kPatternRiverIndex);
}

TEST_F(LineTest, RoadSpokesOnlyOnRoadPaintTerrain) {
  grid_.setTerrain(kColumn, kRow, kClear);
  grid_.setRoadMask(kColumn, kRow, 1 | 16);  // north and south
  const Image clear = Paint(grid_);
  for (int dy : {-20, -10, 10, 20}) EXPECT_EQ(clear.pixelIndex(kCentreX, kCentreY + dy), test::kPatternRoadIndex) << dy;
  EXPECT_NE(clear.pixelIndex(kCentreX + 15, kCentreY), test::kPatternRoadIndex);

  for (int terrain : {kCity, kAirfield, kOcean}) {
    grid_.setTerrain(kColumn, kRow, static_cast<std::uint8_t>(terrain));
    const Image piece = Paint(grid_);
    EXPECT_NE(piece.pixelIndex(kCentreX, kCentreY - 10), test::kPatternRoadIndex) << terrain;
  }
}

TEST_F(LineTest, RiverHexWithRoadsGetsBoth) {
  grid_.setTerrain(kColumn, kRow, kStream);
  grid_.setTerrain(kColumn, kRow + 1, kRiver);
  grid_.setTerrain(kColumn, kRow - 1, kClear);
  grid_.setRoadMask(kColumn, kRow, 1);
  const Image both = Paint(grid_);
  EXPECT_EQ(both.pixelIndex(kCentreX, kCentreY + 12), test::kPatternRiverIndex);
  EXPECT_EQ(both.pixelIndex(kCentreX, kCentreY - 12), test::kPatternRoadIndex);
}

TEST_F(LineTest, BuiltInPaletteHoldsThePainterColoursExactly) {
  const TileSet summer = BuiltinTileSet(false);
  EXPECT_EQ(summer.palette().size(), 256);
  EXPECT_EQ(summer.palette()[200], MakeRgb(124, 144, 164));
  EXPECT_EQ(summer.palette()[111], MakeRgb(248, 224, 100));
  EXPECT_EQ(BuiltinTileSet(true).palette(), summer.palette());

  grid_.setTerrain(kColumn, kRow, kRiver);
  grid_.setTerrain(kColumn, kRow - 1, kOcean);
  grid_.setTerrain(kColumn + 1, kRow + 1, kClear);
  grid_.setRoadMask(kColumn, kRow, kRoadSouthEast);
  const Image piece = PaintPiece(grid_, summer, VariantGrid{}, MapPictureSize(16, 11), 0, 0);
  EXPECT_EQ(piece.pixelIndex(kCentreX, kCentreY - 12), 200);
  EXPECT_EQ(piece.pixelIndex(kCentreX + 12, kCentreY + 7), 111);  // on the way to (X + 45, Y + 38)
}

// The preview is the pieces side by side.
TEST(MapPictureTest, PreviewEqualsPiecesSideBySide) {
  MapGrid grid = test::TilesOnlyGrid();
  for (int column = 0; column < kGridColumns; column += 3) grid.setTerrain(column, 20, kRiver);
  for (int row = 0; row < kGridRows; ++row) grid.setRoadMask(14, row, 0xFF);
  std::mt19937 random(5);
  const TileSet tiles(test::PatternedTiles(3));
  const VariantGrid variants = DrawVariants(random, 3);
  const Image picture = PaintMapPicture(grid, 31, 39, tiles, variants);
  const PictureSize size = MapPictureSize(31, 39);
  ASSERT_EQ(picture.size(), Size(size.width, size.height));
  ASSERT_EQ(picture.colorTable(), tiles.palette());
  for (int i = 0; i < PieceColumnCount(size); ++i)
    for (int j = 0; j < PieceRowCount(size); ++j) {
      const Image piece = PaintPiece(grid, tiles, variants, size, i, j);
      EXPECT_EQ(picture.copy(640 * i, 480 * j, piece.width(), piece.height()), piece) << i << j;
    }
  EXPECT_THROW(PaintMapPicture(grid, 45, 39, tiles, variants), std::invalid_argument);
  EXPECT_THROW(PaintMapPicture(grid, 44, 40, tiles, variants), std::invalid_argument);
}

}  // namespace
}  // namespace kxc2
