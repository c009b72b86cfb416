#pragma once

#include <string>

namespace kxc2 {

// Where the map's full-size picture (MapPicture) lies and how it is cut
// into MapPieces of at most 640 x 480 pixels.

inline constexpr int kTileWidth = 45;
inline constexpr int kTileHeight = 50;
inline constexpr int kPieceWidth = 640;
inline constexpr int kPieceHeight = 480;
// Each piece draws a block of this many grid columns and rows.
inline constexpr int kBlockColumns = 16;
inline constexpr int kBlockRows = 11;

// The ranges the map-parameters dialog allows.
inline constexpr int kMinMapColumns = 16;
inline constexpr int kMaxMapColumns = 44;
inline constexpr int kMinMapRows = 11;
inline constexpr int kMaxMapRows = 39;
inline constexpr int kMinMapNumber = 32;
inline constexpr int kMaxMapNumber = 99;

// A header's columns (rows) brought into the dialog's range, as its spin
// boxes bring them.
int ColumnsInDialogRange(int columns);
int RowsInDialogRange(int rows);

struct PictureSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// W = 45 * columns - 74, H = 50 * rows - 25.
PictureSize MapPictureSize(int columns, int rows);

// Pieces needed to cover extent: extent / pieceExtent rounded up.
int PieceColumnCount(const PictureSize& size);
int PieceRowCount(const PictureSize& size);
// 640 (480), or what is left for the last piece column (row).
int PieceWidth(const PictureSize& size, int pieceColumn);
int PieceHeight(const PictureSize& size, int pieceRow);

// The first grid column (row) a piece column (row) draws, and where that
// hex's tile lies relative to the piece's origin. Piece columns 0..2 and
// piece rows 0..4 exist; row 4 serves only 39-row maps.
struct BlockStart {
  int first = 0;
  int offset = 0;
  friend bool operator==(const BlockStart&, const BlockStart&) = default;
};
inline constexpr int kPieceColumnEntries = 3;
inline constexpr int kPieceRowEntries = 5;
BlockStart PieceColumnStart(int pieceColumn);
BlockStart PieceRowStart(int pieceRow);

// "Map%.2d%.1d%.1d.bmp".
std::string PieceFileName(int mapNumber, int pieceColumn, int pieceRow);
// "Map%.2d*.bmp": every piece of that map number.
std::string PiecePattern(int mapNumber);

}  // namespace kxc2
