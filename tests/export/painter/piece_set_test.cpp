// The pieces a painting writes, by map size: names, order, sizes, and the
// bytes of each file's header and palette.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/map_painter.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

struct ExpectedPiece {
  std::string digits;  // piece column, piece row
  int width;
  int height;
};

struct PieceSetCase {
  int columns;
  int rows;
  PictureSize size;
  std::vector<ExpectedPiece> pieces;  // in the order written
};

const std::vector<PieceSetCase> kPieceSets = {
    {16, 11, {646, 525}, {{"00", 640, 480}, {"01", 640, 45}, {"10", 6, 480}, {"11", 6, 45}}},
    {30, 20, {1276, 975},
     {{"00", 640, 480}, {"01", 640, 480}, {"02", 640, 15}, {"10", 636, 480}, {"11", 636, 480}, {"12", 636, 15}}},
    {44, 38, {1906, 1875},
     {{"00", 640, 480}, {"01", 640, 480}, {"02", 640, 480}, {"03", 640, 435},
      {"10", 640, 480}, {"11", 640, 480}, {"12", 640, 480}, {"13", 640, 435},
      {"20", 626, 480}, {"21", 626, 480}, {"22", 626, 480}, {"23", 626, 435}}},
    {44, 39, {1906, 1925},
     {{"00", 640, 480}, {"01", 640, 480}, {"02", 640, 480}, {"03", 640, 480}, {"04", 640, 5},
      {"10", 640, 480}, {"11", 640, 480}, {"12", 640, 480}, {"13", 640, 480}, {"14", 640, 5},
      {"20", 626, 480}, {"21", 626, 480}, {"22", 626, 480}, {"23", 626, 480}, {"24", 626, 5}}},
};

class PieceSetTest : public ::testing::TestWithParam<PieceSetCase> {};

TEST_P(PieceSetTest, GeometryGivesTheTableSizes) {
  const PieceSetCase& c = GetParam();
  const PictureSize size = MapPictureSize(c.columns, c.rows);
  EXPECT_EQ(size, c.size);
  const int pieceRows = PieceRowCount(size);
  ASSERT_EQ(static_cast<std::size_t>(PieceColumnCount(size) * pieceRows), c.pieces.size());
  for (std::size_t n = 0; n < c.pieces.size(); ++n) {
    const int i = static_cast<int>(n) / pieceRows, j = static_cast<int>(n) % pieceRows;
    EXPECT_EQ(PieceWidth(size, i), c.pieces[n].width) << n;
    EXPECT_EQ(PieceHeight(size, j), c.pieces[n].height) << n;
  }
}

TEST_P(PieceSetTest, WritesEightBitFilesWithTheTileSetPalette) {
  const PieceSetCase& c = GetParam();
  test::TempDir game;
  std::filesystem::create_directory(game.path() / "UserBMP");
  PaintRequest request;
  request.mapNumber = 45;
  request.columns = c.columns;
  request.rows = c.rows;
  request.gameFolder = game.folder();
  request.programFolder = game.folder();  // no tile-set file there: the built-in set
  const PaintResult result = PaintMapBitmaps(MapDocument{}, request, [](const std::string&) { return true; });

  ASSERT_TRUE(result.painted);
  ASSERT_EQ(result.files.size(), c.pieces.size());
  const std::vector<Rgb> palette = BuiltinTileSet(false).palette();
  std::vector<std::string> names;
  for (std::size_t n = 0; n < c.pieces.size(); ++n) {
    const ExpectedPiece& piece = c.pieces[n];
    const std::string name = "Map45" + piece.digits + ".bmp";
    names.push_back(name);
    EXPECT_EQ(result.files[n], game.folder() + "UserBMP/" + name);
    const auto bytes = test::ReadBytes(game.path() / "UserBMP" / name);
    const test::BmpHeader header = test::ReadBmpHeader(bytes);
    const std::uint32_t stride = (piece.width + 3) / 4 * 4;
    EXPECT_EQ(header.width, piece.width) << name;
    EXPECT_EQ(header.height, piece.height) << name;
    EXPECT_EQ(header.bitCount, 8) << name;
    EXPECT_EQ(header.compression, 0u) << name;
    EXPECT_EQ(header.coloursUsed, 256u) << name;
    EXPECT_EQ(header.pixelOffset, 14u + 40u + 1024u) << name;
    EXPECT_EQ(header.fileSize, bytes.size()) << name;
    EXPECT_EQ(bytes.size(), 1078u + stride * piece.height) << name;
    EXPECT_EQ(test::ReadBmpPalette(bytes), palette) << name;
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(test::ListFolder(game.path() / "UserBMP"), names);
}

INSTANTIATE_TEST_SUITE_P(MapSizes, PieceSetTest, ::testing::ValuesIn(kPieceSets),
                         [](const auto& info) {
                           return std::to_string(info.param.columns) + "x" + std::to_string(info.param.rows);
                         });

TEST(PieceLayoutTest, PieceTablesFollowTheirRule) {
  // The first hex whose tile reaches past the piece's origin, and its offset.
  for (int i = 0; i < kPieceColumnEntries; ++i) {
    const int origin = 640 * i;
    int column = 0;
    while (45 * column - 37 + 45 <= origin) ++column;
    EXPECT_EQ(PieceColumnStart(i), (BlockStart{column, 45 * column - 37 - origin})) << i;
  }
  for (int j = 0; j < kPieceRowEntries; ++j) {
    const int origin = 480 * j;
    int row = 0;
    while (50 * row + 50 <= origin) ++row;
    EXPECT_EQ(PieceRowStart(j), (BlockStart{row, 50 * row - origin})) << j;
  }
  EXPECT_EQ(PieceRowStart(4), (BlockStart{38, -20}));
  EXPECT_THROW(PieceColumnStart(3), std::out_of_range);
  EXPECT_THROW(PieceRowStart(5), std::out_of_range);
}

TEST(PieceLayoutTest, NamesAndPattern) {
  EXPECT_EQ(PieceFileName(45, 1, 2), "Map4512.bmp");
  EXPECT_EQ(PieceFileName(32, 0, 4), "Map3204.bmp");
  EXPECT_EQ(PiecePattern(99), "Map99*.bmp");
  EXPECT_EQ(OldPiecesQuestion(45),
            "One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?");
}

TEST(PieceLayoutTest, DialogRangesKeepEveryPictureOffExactMultiples) {
  for (int columns = kMinMapColumns; columns <= kMaxMapColumns; ++columns)
    for (int rows = kMinMapRows; rows <= kMaxMapRows; ++rows) {
      const PictureSize size = MapPictureSize(columns, rows);
      EXPECT_NE(size.width % 640, 0);
      EXPECT_NE(size.height % 480, 0);
      EXPECT_LE(PieceColumnCount(size), kPieceColumnEntries);
      EXPECT_LE(PieceRowCount(size), kPieceRowEntries);
    }
}

}  // namespace
}  // namespace kxc2
