#pragma once

#include <QImage>
#include <array>
#include <random>

#include "core/map_grid.h"
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
QImage PaintPiece(const MapGrid& grid, const TileSet& tiles, const VariantGrid& variants, const PictureSize& size,
                  int pieceColumn, int pieceRow);

// The whole map picture (W x H) as the pieces show it side by side.
QImage PaintMapPicture(const MapGrid& grid, int columns, int rows, const TileSet& tiles, const VariantGrid& variants);

// Throws std::invalid_argument unless columns and rows lie within the
// dialog's ranges (the piece tables reach no further).
void CheckMapSize(int columns, int rows);

}  // namespace kxc2
