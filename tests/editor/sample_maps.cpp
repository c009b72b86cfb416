#include "tests/editor/sample_maps.h"

#include <initializer_list>
#include <utility>

#include "core/road_mask.h"
#include "core/terrain.h"

namespace kxc2::test {
namespace {

constexpr Side N = Side::North, NE = Side::NorthEast, SE = Side::SouthEast, S = Side::South,
               SW = Side::SouthWest, NW = Side::NorthWest;

// Hex centres in half-hex units: raised columns sit half a hex higher.
int CentreY(HexCoord hex) { return 2 * hex.row + (IsRaised(hex.column) ? 0 : 1); }

// The side whose neighbour lies nearest to target, and that neighbour.
std::pair<Side, HexCoord> Step(HexCoord from, HexCoord target) {
  std::pair<Side, HexCoord> best{Side::North, from};
  long bestDistance = -1;
  for (int side = 0; side < 6; ++side) {
    const auto next = Neighbour(from.column, from.row, static_cast<Side>(side));
    if (!next) continue;
    const long dx = 2L * (next->column - target.column), dy = CentreY(*next) - CentreY(target);
    const long distance = dx * dx + dy * dy;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = {static_cast<Side>(side), *next};
    }
  }
  return best;
}

std::uint8_t RoadBit(Side side) { return kRoadBoxBits[static_cast<std::size_t>(side)]; }
Side Opposite(Side side) { return static_cast<Side>((static_cast<int>(side) + 3) % 6); }

// A painter with a pen position, for laying terrain and roads hex by hex.
class Sketch {
 public:
  explicit Sketch(MapDocument& document) : grid_(document.grid) {}

  void fill(int c0, int r0, int c1, int r1, int terrain) {
    for (int c = c0; c <= c1; ++c)
      for (int r = r0; r <= r1; ++r) set(c, r, terrain);
  }
  void set(int column, int row, int terrain) {
    if (IsInGrid(column, row)) grid_.setTerrain(column, row, static_cast<std::uint8_t>(terrain));
  }
  void cells(std::initializer_list<HexCoord> hexes, int terrain) {
    for (const HexCoord& hex : hexes) set(hex.column, hex.row, terrain);
  }
  // Lays terrain along a walk of sides, starting hex included.
  void walk(HexCoord from, std::initializer_list<Side> sides, int terrain) {
    set(from.column, from.row, terrain);
    for (Side side : sides) {
      const auto next = Neighbour(from.column, from.row, side);
      if (!next) return;
      from = *next;
      set(from.column, from.row, terrain);
    }
  }
  // Terrain along the hexes from one hex to another, each step to the
  // neighbour nearest the target.
  void walkTo(HexCoord from, std::initializer_list<HexCoord> waypoints, int terrain) {
    set(from.column, from.row, terrain);
    for (const HexCoord& to : waypoints)
      while (!(from == to)) {
        from = Step(from, to).second;
        set(from.column, from.row, terrain);
      }
  }
  // A road through the waypoints, joined side to side.
  void roadTo(HexCoord from, std::initializer_list<HexCoord> waypoints) {
    for (const HexCoord& to : waypoints)
      while (!(from == to)) {
        const auto [side, next] = Step(from, to);
        addRoad(from, side);
        addRoad(next, Opposite(side));
        from = next;
      }
  }

  // A road along a walk: each step joins the two hexes by their shared side.
  void road(HexCoord from, std::initializer_list<Side> sides) {
    for (Side side : sides) {
      const auto next = Neighbour(from.column, from.row, side);
      if (!next) return;
      addRoad(from, side);
      addRoad(*next, Opposite(side));
      from = *next;
    }
  }

 private:
  void addRoad(HexCoord hex, Side side) {
    grid_.setRoadMask(hex.column, hex.row,
                      static_cast<std::uint8_t>(grid_.roadMask(hex.column, hex.row) | RoadBit(side)));
  }
  MapGrid& grid_;
};

MapDocument FullMap() {
  MapDocument map;
  map.header = {40, 44, 39};
  Sketch s(map);
  // The sea along the west, with a bay.
  for (int r = 0; r < 39; ++r) s.fill(0, r, 1 + (r / 6) % 3, r, kOcean);
  s.fill(2, 16, 6, 21, kOcean);
  s.cells({{7, 18}, {7, 19}, {3, 22}, {4, 15}}, kOcean);
  s.cells({{7, 17}, {6, 22}}, kPort);
  s.cells({{8, 17}, {8, 18}, {9, 18}}, kCity);
  // Sand dunes on the southern coast, swamp at the river mouth.
  s.fill(4, 32, 12, 37, kSand);
  s.fill(5, 23, 8, 26, kSwamp);
  // Mountains and hills in the north-east, an escarpment below them.
  s.fill(32, 1, 42, 7, kMountain);
  s.fill(26, 3, 31, 9, kHill);
  s.fill(33, 8, 42, 10, kHill);
  s.walk({25, 11}, {NE, NE, SE, NE, NE, SE, NE, NE, NE, SE, NE, NE, NE, NE, NE, SE}, kEscarpment);
  // Forests and bocage in the middle.
  s.fill(14, 4, 20, 10, kForest);
  s.fill(30, 26, 37, 31, kForest);
  s.fill(15, 24, 22, 29, kBocage);
  s.fill(36, 14, 41, 20, kRough);
  s.fill(10, 8, 12, 12, kRough);
  // A town in the centre, a second one in the south-east, an airfield.
  s.fill(22, 16, 24, 18, kCity);
  s.fill(38, 33, 39, 34, kCity);
  s.fill(28, 20, 30, 21, kAirfield);
  // A fortified line guarding the town from the east.
  s.walk({27, 12}, {S, S, S, S, S, S, S, S, S}, kFortification);
  // The river from the mountains to the bay, a stream joining it, and a
  // gorge that cannot be crossed.
  s.walkTo({33, 11}, {{28, 15}, {21, 19}, {13, 21}, {8, 20}}, kRiver);
  s.walkTo({18, 37}, {{18, 30}, {21, 20}}, kStream);
  s.walkTo({36, 11}, {{37, 16}}, kImpassableRiver);
  // Roads: the coast road, the road through the town to the south-east,
  // the road north into the hills, the airfield road.
  s.roadTo({9, 18}, {{16, 14}, {22, 17}});
  s.roadTo({24, 17}, {{31, 24}, {34, 30}, {38, 33}});
  s.roadTo({23, 16}, {{24, 10}, {29, 5}});
  s.roadTo({24, 18}, {{28, 21}});
  s.roadTo({8, 17}, {{9, 25}, {14, 33}});
  return map;
}

MapDocument SmallMap() {
  MapDocument map;
  map.header = {33, 20, 15};
  Sketch s(map);
  s.fill(0, 0, 19, 1, kOcean);
  s.cells({{6, 2}, {5, 2}}, kPort);
  s.fill(12, 3, 16, 6, kForest);
  s.fill(2, 9, 5, 12, kHill);
  s.cells({{3, 10}, {4, 10}}, kMountain);
  s.fill(7, 6, 8, 7, kCity);
  s.walk({10, 2}, {S, SE, S, S, SW, S, S, SE, S, S, S}, kRiver);
  s.fill(14, 10, 17, 13, kBocage);
  s.road({6, 2}, {S, S, SE, S, SE, SE, SE, SE, S, SE, SE, SE, S});
  s.road({8, 7}, {NE, NE, NE, NE, NE, SE});
  return map;
}

}  // namespace

std::vector<SampleMap> SampleMaps() {
  return {{"coast44x39.map", FullMap()}, {"valley20x15.map", SmallMap()}};
}

}  // namespace kxc2::test
