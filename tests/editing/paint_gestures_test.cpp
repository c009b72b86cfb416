#include "editing/paint_gestures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <gtest/gtest.h>
#include <set>

#include "editing/map_view.h"

namespace kxc2 {
namespace {

using Hexes = std::vector<HexCoord>;

std::string Text(const Hexes& hexes) {
  std::string text;
  for (const HexCoord& hex : hexes) text += "(" + std::to_string(hex.column) + "," + std::to_string(hex.row) + ")";
  return text;
}

bool AreNeighbours(HexCoord a, HexCoord b) {
  for (const Side side : {Side::North, Side::NorthEast, Side::SouthEast, Side::South, Side::SouthWest, Side::NorthWest})
    if (Neighbour(a.column, a.row, side) == std::optional<HexCoord>(b)) return true;
  return false;
}

TEST(StrokeTest, HexesAlongSegments) {
  const ViewState in;  // zoomed in at the origin, 616 x 475
  ViewState scrolled;
  scrolled.OriginColumn = 31;
  scrolled.OriginRow = 30;
  const struct {
    const char* name;
    ViewState view;
    Point from, to;
    Hexes expected;
  } cases[] = {
      {"one pixel", in, {10, 100}, {10, 100}, {{0, 2}}},
      {"level through row 2", in, {10, 100}, {200, 100}, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {"level along the raise", in, {10, 80}, {200, 80}, {{0, 2}, {1, 1}, {2, 2}, {3, 1}, {4, 2}}},
      {"back the same way", in, {200, 80}, {10, 80}, {{4, 2}, {3, 1}, {2, 2}, {1, 1}, {0, 2}}},
      {"down an odd column", in, {50, 0}, {50, 474},
       {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9}}},
      {"up an even column", in, {100, 474}, {100, 0},
       {{2, 9}, {2, 8}, {2, 7}, {2, 6}, {2, 5}, {2, 4}, {2, 3}, {2, 2}, {2, 1}, {2, 0}}},
      {"from outside the view", in, {-50, 100}, {100, 100}, {{0, 2}, {1, 2}, {2, 2}}},
      {"out past the right edge", in, {600, 10}, {900, 10}, {{13, 0}}},
      {"scrolled to the far corner", scrolled, {0, 0}, {88, 0}, {{31, 30}, {32, 30}, {33, 30}}},
      {"steep, one column over", in, {43, 0}, {44, 60}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Text(HexesAlongSegment(c.view, c.from, c.to)), Text(c.expected)) << c.name;
}

// However fast the pointer moves, each hex borders the one before, and every
// hex the straight line passes over is in the stroke.
TEST(StrokeTest, NoGapsAtAnySpeedInAnyDirection) {
  ViewState zoomedOut;
  zoomedOut.ZoomedIn = false;
  const Point centre(308, 237);
  for (const ViewState& view : {ViewState{}, zoomedOut}) {
    for (int degrees = 0; degrees < 360; degrees += 15) {
      for (const double length : {1.0, 7.0, 45.0, 230.0}) {
        const double radians = degrees * std::numbers::pi / 180;
        const Point to = centre + Point(int(std::lround(length * std::cos(radians))),
                                        int(std::lround(length * std::sin(radians))));
        const Hexes stroke = HexesAlongSegment(view, centre, to);
        SCOPED_TRACE(std::to_string(degrees) + " degrees, " + std::to_string(length) + " px, " +
                     (view.ZoomedIn ? "in" : "out") + ": " + Text(stroke));
        ASSERT_FALSE(stroke.empty());
        EXPECT_EQ(stroke.front(), PixelToHex(view, centre.x(), centre.y()));
        EXPECT_EQ(stroke.back(), PixelToHex(view, to.x(), to.y()));
        for (std::size_t i = 1; i < stroke.size(); ++i) EXPECT_TRUE(AreNeighbours(stroke[i - 1], stroke[i])) << i;
        std::set<std::pair<int, int>> inStroke;
        for (const HexCoord& hex : stroke) inStroke.insert({hex.column, hex.row});
        for (int i = 0; i <= 1024; ++i) {
          const double atX = centre.x() + (to.x() - centre.x()) * (i / 1024.0);
          const double atY = centre.y() + (to.y() - centre.y()) * (i / 1024.0);
          // Through a pixel corner either side is the line's: no test there.
          const auto onHalf = [](double v) { return std::abs(v - std::floor(v) - 0.5) < 1e-9; };
          if (onHalf(atX) && onHalf(atY)) continue;
          const HexCoord hex = PixelToHex(view, int(std::floor(atX + 0.5)), int(std::floor(atY + 0.5)));
          EXPECT_TRUE(inStroke.count({hex.column, hex.row})) << "missed " << Text({hex});
        }
      }
    }
  }
}

struct FillCase {
  const char* name;
  std::vector<std::pair<HexCoord, int>> terrain;  // on a grid of Clear
  HexCoord start;
  std::size_t size;
  Hexes mustHold;
  Hexes mustNotHold;
};

TEST(FillTest, ConnectedAreas) {
  Hexes wall;
  for (int row = 0; row < kGridRows; ++row) wall.push_back({10, row});
  std::vector<std::pair<HexCoord, int>> ocean;
  for (const HexCoord& hex : wall) ocean.push_back({hex, 9});
  const FillCase cases[] = {
      {"all of an empty map", {}, {22, 20}, 1800, {{0, 0}, {44, 39}}, {}},
      {"left of a wall", ocean, {0, 0}, 400, {{9, 39}}, {{10, 0}, {11, 0}}},
      {"right of a wall", ocean, {30, 5}, 1360, {{11, 0}, {44, 39}}, {{9, 0}}},
      {"the wall itself", ocean, {10, 7}, 40, {{10, 0}, {10, 39}}, {{9, 7}}},
      // A raised column's north-east neighbour is the row above; a lower
      // column's is the same row.
      {"even column, north-east", {{{2, 5}, 1}, {{3, 4}, 1}}, {2, 5}, 2, {{3, 4}}, {}},
      {"even column, not across", {{{2, 5}, 1}, {{3, 6}, 1}}, {2, 5}, 1, {}, {{3, 6}}},
      {"odd column, south-east", {{{3, 5}, 1}, {{4, 6}, 1}}, {3, 5}, 2, {{4, 6}}, {}},
      {"odd column, not across", {{{3, 5}, 1}, {{4, 4}, 1}}, {3, 5}, 1, {}, {{4, 4}}},
      {"even column, north-west only", {{{2, 5}, 1}, {{1, 4}, 1}}, {2, 5}, 2, {{1, 4}}, {}},
      {"top left corner", {{{0, 0}, 1}, {{1, 0}, 1}}, {0, 0}, 2, {{1, 0}}, {}},
      {"top right corner", {{{44, 0}, 1}, {{43, 0}, 1}}, {44, 0}, 2, {{43, 0}}, {}},
      {"bottom left corner", {{{0, 39}, 1}, {{1, 39}, 1}}, {0, 39}, 2, {{1, 39}}, {}},
      {"bottom right corner", {{{44, 39}, 1}, {{43, 39}, 1}}, {44, 39}, 2, {{43, 39}}, {}},
      {"a hex surrounded", {{{6, 5}, 3}}, {6, 5}, 1, {}, {}},
  };
  for (const FillCase& c : cases) {
    MapGrid grid;
    for (const auto& [hex, code] : c.terrain) grid.setTerrain(hex.column, hex.row, std::uint8_t(code));
    const Hexes area = ConnectedArea(grid, c.start);
    EXPECT_EQ(area.size(), c.size) << c.name;
    EXPECT_EQ(area.front(), c.start) << c.name;
    const auto holds = [&](HexCoord hex) { return std::find(area.begin(), area.end(), hex) != area.end(); };
    for (const HexCoord& hex : c.mustHold) EXPECT_TRUE(holds(hex)) << c.name << " " << Text({hex});
    for (const HexCoord& hex : c.mustNotHold) EXPECT_FALSE(holds(hex)) << c.name << " " << Text({hex});
    for (const HexCoord& hex : area) EXPECT_EQ(grid.terrain(hex.column, hex.row), grid.terrain(c.start.column, c.start.row));
  }
}

}  // namespace
}  // namespace kxc2
