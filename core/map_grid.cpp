#include "core/map_grid.h"

namespace kxc2 {

std::optional<HexCoord> Neighbour(int column, int row, Side side) {
  // Columns that stand higher meet the row above on their slanted sides.
  const int upper = IsRaised(column) ? row - 1 : row;
  HexCoord next{column, row};
  switch (side) {
    case Side::North: next = {column, row - 1}; break;
    case Side::NorthEast: next = {column + 1, upper}; break;
    case Side::SouthEast: next = {column + 1, upper + 1}; break;
    case Side::South: next = {column, row + 1}; break;
    case Side::SouthWest: next = {column - 1, upper + 1}; break;
    case Side::NorthWest: next = {column - 1, upper}; break;
  }
  if (!IsInGrid(next.column, next.row)) return std::nullopt;
  return next;
}

}  // namespace kxc2
