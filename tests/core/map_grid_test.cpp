#include <gtest/gtest.h>

#include <optional>

#include "core/map_grid.h"
#include "core/terrain.h"

namespace kxc2 {
namespace {

struct NeighbourCase {
  int column, row;
  Side side;
  std::optional<HexCoord> expected;
};

TEST(Neighbour, EdgesAndParities) {
  const NeighbourCase cases[] = {
      // Even column, row 0: nothing above.
      {2, 0, Side::North, std::nullopt},
      {2, 0, Side::NorthEast, std::nullopt},
      {2, 0, Side::NorthWest, std::nullopt},
      {2, 0, Side::SouthEast, HexCoord{3, 0}},
      {2, 0, Side::SouthWest, HexCoord{1, 0}},
      {2, 0, Side::South, HexCoord{2, 1}},
      // Odd column, row 0: its upper slanted neighbours share the row.
      {3, 0, Side::NorthEast, HexCoord{4, 0}},
      {3, 0, Side::NorthWest, HexCoord{2, 0}},
      {3, 0, Side::SouthEast, HexCoord{4, 1}},
      {3, 0, Side::SouthWest, HexCoord{2, 1}},
      // Bottom-right corner (even column).
      {44, 39, Side::NorthEast, std::nullopt},
      {44, 39, Side::SouthEast, std::nullopt},
      {44, 39, Side::South, std::nullopt},
      {44, 39, Side::SouthWest, HexCoord{43, 39}},
      {44, 39, Side::NorthWest, HexCoord{43, 38}},
      {44, 39, Side::North, HexCoord{44, 38}},
      // Odd column on the bottom row: nothing below.
      {43, 39, Side::SouthWest, std::nullopt},
      {43, 39, Side::SouthEast, std::nullopt},
      {43, 39, Side::NorthEast, HexCoord{44, 39}},
      // Left edge.
      {0, 5, Side::NorthWest, std::nullopt},
      {0, 5, Side::SouthWest, std::nullopt},
      {0, 5, Side::NorthEast, HexCoord{1, 4}},
      {1, 5, Side::NorthWest, HexCoord{0, 5}},
      {1, 5, Side::SouthWest, HexCoord{0, 6}},
      // Inside, both parities.
      {2, 5, Side::NorthWest, HexCoord{1, 4}},
      {2, 5, Side::SouthWest, HexCoord{1, 5}},
      {3, 5, Side::NorthWest, HexCoord{2, 5}},
      {3, 5, Side::SouthWest, HexCoord{2, 6}},
  };
  for (const auto& c : cases) {
    const auto got = Neighbour(c.column, c.row, c.side);
    EXPECT_EQ(got.has_value(), c.expected.has_value())
        << c.column << "," << c.row << " side " << static_cast<int>(c.side);
    if (got && c.expected) {
      EXPECT_EQ(got->column, c.expected->column) << c.column << "," << c.row;
      EXPECT_EQ(got->row, c.expected->row) << c.column << "," << c.row;
    }
  }
}

TEST(TerrainSets, MembershipOfEveryCode) {
  for (int code = 0; code <= 40; ++code) {
    const bool known = code <= 16;
    EXPECT_EQ(IsInRiverSet(code), code == 10 || code == 13 || code == 15) << code;
    EXPECT_EQ(IsInWaterSet(code), code == 9 || code == 10 || code == 13 || code == 15) << code;
    EXPECT_EQ(IsInRoadKeepSet(code), known && code != 9) << code;
    EXPECT_EQ(IsInRoadPaintSet(code), known && code != 1 && code != 2 && code != 9) << code;
  }
  EXPECT_FALSE(IsInWaterSet(-1));
  EXPECT_FALSE(IsInRoadKeepSet(200));
}

TEST(Terrain, ListTextsAndDisplayNames) {
  const struct {
    int code;
    const char* list;
    const char* name;
  } cases[] = {
      {0, "00 Clear", "Clear"},   {9, "09 Ocean", "Ocean"},
      {15, "15 Impassable River", "Impassable River"},
      {16, "16 Rough", "Rough"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TerrainListText(c.code), c.list);
    EXPECT_EQ(DisplayName(c.code).value(), c.name);
    EXPECT_EQ(DisplayNameOrUnknown(c.code), c.name);
  }
  EXPECT_FALSE(DisplayName(17).has_value());
  EXPECT_FALSE(DisplayName(-1).has_value());
  EXPECT_EQ(DisplayNameOrUnknown(200), "Unknown (200)");
  EXPECT_EQ(DisplayNameOrUnknown(17), "Unknown (17)");
}

TEST(MapGrid, FieldsAreSeparateAndResetClearsAll) {
  MapGrid grid;
  grid.setRecord(44, 39, {1, 2, 3, 4, 5, 6, 7});
  grid.setTerrain(44, 39, 9);
  grid.setRoadMask(44, 39, 68);
  EXPECT_EQ(grid.record(44, 39), (HexRecord{9, 2, 68, 4, 5, 6, 7}));
  EXPECT_EQ(grid.record(43, 39), HexRecord{});
  EXPECT_EQ(grid.record(44, 38), HexRecord{});
  grid.reset();
  EXPECT_EQ(grid.record(44, 39), HexRecord{});
}

TEST(MapGrid, FileOrderVisitsRowsThenColumns) {
  MapGrid grid;
  int visited = 0;
  HexCoord second{};
  grid.forEachInFileOrder([&](int column, int row, const HexRecord&) {
    if (visited == 1) second = {column, row};
    if (visited == 45) {
      EXPECT_EQ((HexCoord{column, row}), (HexCoord{0, 1}));
    }
    ++visited;
  });
  EXPECT_EQ(visited, kHexCount);
  EXPECT_EQ(second, (HexCoord{1, 0}));
}

}  // namespace
}  // namespace kxc2
