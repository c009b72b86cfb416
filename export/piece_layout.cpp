#include "export/piece_layout.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace kxc2 {

namespace {

// Each entry is the first hex whose tile reaches past the piece's origin and
// that tile's position relative to the origin. The fifth row follows the same
// rule (row 38 at 1900, the origin at 1920).
constexpr std::array<BlockStart, kPieceColumnEntries> kColumnStarts = {{{0, -37}, {15, -2}, {29, -12}}};
constexpr std::array<BlockStart, kPieceRowEntries> kRowStarts = {{{0, 0}, {9, -30}, {19, -10}, {28, -40}, {38, -20}}};

int CeilDiv(int value, int divisor) { return (value + divisor - 1) / divisor; }

int PieceExtent(int total, int pieceExtent, int index) {
  const int last = CeilDiv(total, pieceExtent) - 1;
  if (index == last && total % pieceExtent != 0) return total % pieceExtent;
  return pieceExtent;
}

std::string Format(const char* format, int a, int b, int c) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

int ColumnsInDialogRange(int columns) { return std::clamp(columns, kMinMapColumns, kMaxMapColumns); }
int RowsInDialogRange(int rows) { return std::clamp(rows, kMinMapRows, kMaxMapRows); }

PictureSize MapPictureSize(int columns, int rows) {
  return {kTileWidth * columns - 74, kTileHeight * rows - 25};
}

int PieceColumnCount(const PictureSize& size) { return CeilDiv(size.width, kPieceWidth); }
int PieceRowCount(const PictureSize& size) { return CeilDiv(size.height, kPieceHeight); }

int PieceWidth(const PictureSize& size, int pieceColumn) {
  return PieceExtent(size.width, kPieceWidth, pieceColumn);
}

int PieceHeight(const PictureSize& size, int pieceRow) {
  return PieceExtent(size.height, kPieceHeight, pieceRow);
}

BlockStart PieceColumnStart(int pieceColumn) {
  if (pieceColumn < 0 || pieceColumn >= kPieceColumnEntries) throw std::out_of_range("piece column");
  return kColumnStarts[pieceColumn];
}

BlockStart PieceRowStart(int pieceRow) {
  if (pieceRow < 0 || pieceRow >= kPieceRowEntries) throw std::out_of_range("piece row");
  return kRowStarts[pieceRow];
}

std::string PieceFileName(int mapNumber, int pieceColumn, int pieceRow) {
  return Format("Map%.2d%.1d%.1d.bmp", mapNumber, pieceColumn, pieceRow);
}

std::string PiecePattern(int mapNumber) { return Format("Map%.2d*.bmp", mapNumber, 0, 0); }

}  // namespace kxc2
