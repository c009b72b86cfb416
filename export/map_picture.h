#pragma once

#include <array>
#include <random>
#include <span>
#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"

namespace kxc2 {

// The painter's line colours, $00BBGGRR.
inline constexpr unsigned kPainterRiverColour = 0x00A4907C;
inline constexpr unsigned kPainterRoadColour = 0x0064E0F8;

// One tile variant per grid hex, indexed [column][row] like the grid.
using VariantGrid = std::array<std::array<int, kGridRows>, kGridColumns>;

// 1800 draws in column order over the whole grid, whatever the map's size,
// each from 0 to variantCount - 1 (0 when there are fewer than two).
VariantGrid DrawVariants(std::mt19937& random, int variantCount);

// Piece (pieceColumn, pieceRow) of the map picture of size: an 8-bit image
// with the tile set's palette, its 16 x 11 block of hexes drawn tile by
// tile with rivers and roads over them, clipped to the piece.
Image PaintPiece(const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants, const PictureSize& size,
                  int pieceColumn, int pieceRow);

// The whole map picture (W x H) as the pieces show it side by side.
Image PaintMapPicture(const MapGrid& grid, int columns, int rows, const TileSet& tiles, const VariantGrid& variants);

// Where hex (column, row)'s tile lies in the map picture: x = 45 c - 37,
// y = 50 r, 25 higher for an even column.
Rect TileRectInPicture(int column, int row);

// The hex whose tile covers pixel (x, y) of the map picture; a pixel beyond
// the grid's tiles gives the nearest hex of the grid.
HexCoord HexAtPicturePixel(int x, int y);

// Repaints the pixels of rect on a picture made by PaintMapPicture from
// the same grid, tiles and variants: afterwards they are what a fresh
// PaintMapPicture of the current grid shows there.
void RepaintPictureRect(Image& picture, const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants,
                        const Rect& rect);

// After the given hexes of the grid changed: repaints what their tiles and
// lines and their neighbours' lines touch, and returns that part of the
// picture as rectangles (they may overlap).
std::vector<Rect> RepaintChangedHexes(Image& picture, const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants,
                            std::span<const HexCoord> changed);

// Throws std::invalid_argument unless columns and rows lie within the
// dialog's ranges (the piece tables reach no further).
void CheckMapSize(int columns, int rows);

}  // namespace kxc2
