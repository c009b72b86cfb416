#include "draw/overlays.h"

#include <array>
#include <optional>

#include "core/road_mask.h"
#include "core/terrain.h"

namespace kxc2 {
namespace {

// Where a line towards each side ends, relative to the cell's corner; every
// line starts at the cell centre (22, 25).
constexpr Point kCentre(22, 25);
constexpr Point kNorthEnd(22, -1);
constexpr Point kNorthEastEnd(45, 12);
constexpr Point kSouthEastEnd(45, 38);
constexpr Point kSouthEnd(22, 50);
constexpr Point kSouthWestEnd(-1, 38);
constexpr Point kNorthWestEnd(-1, 12);

constexpr int kSlantedRiverWidth = 5;
constexpr int kUprightRiverWidth = 6;
constexpr int kSlantedRoadWidth = 3;
constexpr int kUprightRoadWidth = 4;

struct Spoke {
  std::uint8_t bit;
  Point end;
  int width;
};

constexpr std::array<Spoke, 6> kSpokes = {{
    {kRoadNorth, kNorthEnd, kUprightRoadWidth},
    {kRoadNorthEast, kNorthEastEnd, kSlantedRoadWidth},
    {kRoadSouthEast, kSouthEastEnd, kSlantedRoadWidth},
    {kRoadSouth, kSouthEnd, kUprightRoadWidth},
    {kRoadSouthWest, kSouthWestEnd, kSlantedRoadWidth},
    {kRoadNorthWest, kNorthWestEnd, kSlantedRoadWidth},
}};

struct RiverSide {
  Point end;
  int width;
  int columnStep;
  // Row step of the neighbour when the hex's column is raised, and when not.
  int rowStepRaised;
  int rowStepLevel;
};

// Walked in this order: the two western sides, north, south, the two eastern.
constexpr std::array<RiverSide, 6> kRiverSides = {{
    {kNorthWestEnd, kSlantedRiverWidth, -1, -1, 0},
    {kSouthWestEnd, kSlantedRiverWidth, -1, 0, 1},
    {kNorthEnd, kUprightRiverWidth, 0, -1, -1},
    {kSouthEnd, kUprightRiverWidth, 0, 1, 1},
    {kNorthEastEnd, kSlantedRiverWidth, 1, -1, 0},
    {kSouthEastEnd, kSlantedRiverWidth, 1, 0, 1},
}};

// The pen as the caller had it comes back whatever happens in between.
class PenKeeper {
 public:
  PenKeeper(Canvas& canvas, Rgb colour) : canvas_(canvas), saved_(canvas.pen()) {
    canvas_.setPen({colour, saved_.width, PenMode::Copy});
  }
  ~PenKeeper() { canvas_.setPen(saved_); }
  PenKeeper(const PenKeeper&) = delete;
  PenKeeper& operator=(const PenKeeper&) = delete;

  void line(Point corner, Point end, int width) {
    Pen pen = canvas_.pen();
    pen.width = width;
    canvas_.setPen(pen);
    canvas_.moveTo(corner + kCentre);
    canvas_.lineTo(corner + end);
  }

 private:
  Canvas& canvas_;
  Pen saved_;
};

bool HoldsWater(const MapGrid& grid, int column, int row) {
  return IsInGrid(column, row) && IsInWaterSet(grid.terrain(column, row));
}

}  // namespace

void DrawRiverLines(int x, int y, int column, int row, int raised, Canvas& canvas, Rgb colour,
                    const MapGrid& grid) {
  PenKeeper pen(canvas, colour);
  const Point corner(x, y);
  for (const RiverSide& side : kRiverSides) {
    const int neighbourColumn = column + side.columnStep;
    const int neighbourRow = row + (raised != 0 ? side.rowStepRaised : side.rowStepLevel);
    if (HoldsWater(grid, neighbourColumn, neighbourRow)) pen.line(corner, side.end, side.width);
  }
}

void DrawRoadSpokes(int x, int y, std::uint8_t mask, Canvas& canvas, Rgb colour) {
  PenKeeper pen(canvas, colour);
  const Point corner(x, y);
  for (const Spoke& spoke : kSpokes)
    if ((mask & spoke.bit) != 0) pen.line(corner, spoke.end, spoke.width);
}

}  // namespace kxc2
