#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kxc2 {

inline constexpr int kGridColumns = 45;
inline constexpr int kGridRows = 40;
inline constexpr int kHexCount = kGridColumns * kGridRows;
inline constexpr int kHexRecordSize = 7;

// Byte 0 terrain, byte 2 road mask; the others are carried untouched.
using HexRecord = std::array<std::uint8_t, kHexRecordSize>;

struct HexCoord {
  int column = 0;
  int row = 0;
  friend bool operator==(const HexCoord&, const HexCoord&) = default;
};

// Even columns stand half a hex higher than their odd neighbours; every
// picture of the map and the neighbour table follow from this one rule.
constexpr bool IsRaised(int column) { return column % 2 == 0; }

constexpr bool IsInGrid(int column, int row) {
  return column >= 0 && column < kGridColumns && row >= 0 && row < kGridRows;
}

enum class Side { North, NorthEast, SouthEast, South, SouthWest, NorthWest };

// The hex on that side, or nothing at the grid's edge.
std::optional<HexCoord> Neighbour(int column, int row, Side side);

struct MapHeader {
  std::int32_t mapNumber = 0;
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  friend bool operator==(const MapHeader&, const MapHeader&) = default;
};

// 45 x 40 hexes, stored column by column. Only this class knows the storage
// order; only the map file knows the file order.
class MapGrid {
 public:
  const HexRecord& record(int column, int row) const { return cells_[index(column, row)]; }
  void setRecord(int column, int row, const HexRecord& record) { cells_[index(column, row)] = record; }
  // For the file reader, which fills records in place.
  HexRecord& mutableRecord(int column, int row) { return cells_[index(column, row)]; }

  std::uint8_t terrain(int column, int row) const { return record(column, row)[0]; }
  void setTerrain(int column, int row, std::uint8_t code) { cells_[index(column, row)][0] = code; }

  std::uint8_t roadMask(int column, int row) const { return record(column, row)[2]; }
  void setRoadMask(int column, int row, std::uint8_t mask) { cells_[index(column, row)][2] = mask; }

  // Every hex becomes seven zero bytes.
  void reset() { cells_.fill(HexRecord{}); }

  // Row 0 to 39, and within a row column 0 to 44.
  template <typename Visitor>
  void forEachInFileOrder(Visitor&& visit) const {
    for (int row = 0; row < kGridRows; ++row)
      for (int column = 0; column < kGridColumns; ++column) visit(column, row, record(column, row));
  }

  friend bool operator==(const MapGrid&, const MapGrid&) = default;

 private:
  static constexpr int index(int column, int row) { return column * kGridRows + row; }
  std::array<HexRecord, kHexCount> cells_{};
};

// The one map the editor holds.
struct MapDocument {
  MapHeader header;
  MapGrid grid;
};

}  // namespace kxc2
