#include "export/map_picture.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "core/terrain.h"
#include "draw/canvas.h"
#include "draw/overlays.h"

namespace kxc2 {

namespace {

// Even columns stand half a tile higher in every picture of the map.
int ParityShift(int column) { return IsRaised(column) ? -kTileHeight / 2 : 0; }

// How far past its tile a hex's lines may reach: they end one pixel outside
// the tile, and the widest pen (6) adds its half.
constexpr int kLineReach = 4;

// The first column of the picture's tiles is 37 pixels left of the picture.
constexpr int kPictureXOffset = -37;

int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

Rect HexExtent(int column, int row) {
  return TileRectInPicture(column, row).adjusted(-kLineReach, -kLineReach, kLineReach, kLineReach);
}

// The hex's tile and lines and the lines its neighbours draw towards it.
Rect ChangedHexRect(const HexCoord& hex) {
  Rect rect = HexExtent(hex.column, hex.row);
  for (Side side : {Side::North, Side::NorthEast, Side::SouthEast, Side::South, Side::SouthWest, Side::NorthWest})
    if (const auto next = Neighbour(hex.column, hex.row, side)) rect |= HexExtent(next->column, next->row);
  return rect;
}

// Beyond this many separate rectangles one repaint of their bounding box is
// cheaper than repainting shared hexes over and over.
constexpr int kMaxRepaintRects = 16;

void PaintHex(Canvas& canvas, const MapGrid& grid, const TileSet& tiles, int variant, int column, int row, Point corner) {
  const int terrain = grid.terrain(column, row);
  if (const auto source = tiles.tileRect(terrain, variant)) canvas.copyRect(corner, tiles.image(), *source);
  if (IsInRiverSet(terrain))
    DrawRiverLines(corner.x(), corner.y(), column, row, ParityShift(column), canvas, ColorFromBgr(kPainterRiverColour),
                   grid);
  const std::uint8_t mask = grid.roadMask(column, row);
  if (mask != 0 && IsInRoadPaintSet(terrain))
    DrawRoadSpokes(corner.x(), corner.y(), mask, canvas, ColorFromBgr(kPainterRoadColour));
}

// Left to right, and top to bottom within a column: tiles drawn later cover
// the ends of wide lines drawn before them.
void PaintBlock(Image& piece, const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants,
                int pieceColumn, int pieceRow) {
  Canvas canvas(piece);
  const BlockStart across = PieceColumnStart(pieceColumn);
  const BlockStart down = PieceRowStart(pieceRow);
  for (int k = 0; k < kBlockColumns; ++k) {
    const int column = across.first + k;
    for (int m = 0; m < kBlockRows; ++m) {
      const int row = down.first + m;
      if (!IsInGrid(column, row)) continue;  // only the fifth piece row's block reaches past the grid
      const Point corner(kTileWidth * k + across.offset, kTileHeight * m + down.offset + ParityShift(column));
      PaintHex(canvas, grid, tiles, variants[column][row], column, row, corner);
    }
  }
}

}  // namespace

Rect TileRectInPicture(int column, int row) {
  return {kTileWidth * column + kPictureXOffset, kTileHeight * row + ParityShift(column), kTileWidth, kTileHeight};
}

HexCoord HexAtPicturePixel(int x, int y) {
  const int column = std::clamp(FloorDiv(x - kPictureXOffset, kTileWidth), 0, kGridColumns - 1);
  const int row = std::clamp(FloorDiv(y - ParityShift(column), kTileHeight), 0, kGridRows - 1);
  return {column, row};
}

// The whole picture is the pieces side by side, and a piece is its block
// painted column by column: so any part of the picture is every hex whose
// tile or lines reach it, painted in that same order.
void RepaintPictureRect(Image& picture, const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants,
                        const Rect& rect) {
  const Rect area = rect.intersected(picture.rect());
  if (area.isEmpty()) return;
  Image part(area.size(), Image::Format_Indexed8);
  part.setColorTable(tiles.palette());
  part.fill(0);
  Canvas canvas(part);
  const HexCoord first = HexAtPicturePixel(area.left() - kLineReach, area.top() - kLineReach - kTileHeight);
  const HexCoord last = HexAtPicturePixel(area.right() + kLineReach, area.bottom() + kLineReach + kTileHeight);
  for (int column = first.column; column <= last.column; ++column)
    for (int row = first.row; row <= last.row; ++row)
      if (HexExtent(column, row).intersects(area))
        PaintHex(canvas, grid, tiles, variants[column][row], column, row,
                 TileRectInPicture(column, row).topLeft() - area.topLeft());
  for (int y = 0; y < area.height(); ++y)
    std::memcpy(picture.scanLine(area.top() + y) + area.left(), part.constScanLine(y),
                static_cast<std::size_t>(area.width()));
}

std::vector<Rect> RepaintChangedHexes(Image& picture, const MapGrid& grid, const TileSet& tiles,
                                      const VariantGrid& variants, std::span<const HexCoord> changed) {
  std::vector<Rect> rects;
  Rect bounds;
  for (const HexCoord& hex : changed) {
    if (!IsInGrid(hex.column, hex.row)) continue;
    const Rect rect = ChangedHexRect(hex).intersected(picture.rect());
    if (rect.isEmpty()) continue;
    rects.push_back(rect);
    bounds |= rect;
  }
  if (rects.size() > static_cast<std::size_t>(kMaxRepaintRects)) rects = {bounds};
  for (const Rect& rect : rects) RepaintPictureRect(picture, grid, tiles, variants, rect);
  return rects;
}

VariantGrid DrawVariants(std::mt19937& random, int variantCount) {
  VariantGrid variants{};
  if (variantCount < 2) return variants;
  std::uniform_int_distribution<int> draw(0, variantCount - 1);
  for (auto& column : variants)
    for (int& variant : column) variant = draw(random);
  return variants;
}

void CheckMapSize(int columns, int rows) {
  if (columns < kMinMapColumns || columns > kMaxMapColumns || rows < kMinMapRows || rows > kMaxMapRows)
    throw std::invalid_argument("map size " + std::to_string(columns) + " x " + std::to_string(rows) +
                                " is outside 16..44 x 11..39");
}

Image PaintPiece(const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants, const PictureSize& size,
                  int pieceColumn, int pieceRow) {
  Image piece(PieceWidth(size, pieceColumn), PieceHeight(size, pieceRow), Image::Format_Indexed8);
  piece.setColorTable(tiles.palette());
  piece.fill(0);  // shows only where the tile set has no tile to give
  PaintBlock(piece, grid, tiles, variants, pieceColumn, pieceRow);
  return piece;
}

Image PaintMapPicture(const MapGrid& grid, int columns, int rows, const TileSet& tiles, const VariantGrid& variants) {
  CheckMapSize(columns, rows);
  const PictureSize size = MapPictureSize(columns, rows);
  Image picture(size.width, size.height, Image::Format_Indexed8);
  picture.setColorTable(tiles.palette());
  for (int i = 0; i < PieceColumnCount(size); ++i) {
    for (int j = 0; j < PieceRowCount(size); ++j) {
      const Image piece = PaintPiece(grid, tiles, variants, size, i, j);
      for (int y = 0; y < piece.height(); ++y)
        std::memcpy(picture.scanLine(kPieceHeight * j + y) + kPieceWidth * i, piece.constScanLine(y),
                    static_cast<std::size_t>(piece.width()));
    }
  }
  return picture;
}

}  // namespace kxc2
